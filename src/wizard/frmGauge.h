#pragma once

#include "engine/ImportRunObserver.h"

#include <QDialog>
#include <QPushButton>
#include <array>
#include <vector>

class QFrame;
class QLabel;
class QProgressBar;
class QTimer;

namespace wizard {

// A push button that carries the classic modal result. The progress window never runs modally, so its cancel
// button's result is nothing but the cancel flag the long loops test: 0 going on, 2 (ModalResultCancel) cancelled.
class TModalButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;
    int ModalResult = 0;
};

constexpr int ModalResultNone = 0;
constexpr int ModalResultCancel = 2;

// The one progress window every long operation shows: running text, gauge, counters, cancel button, and two small
// animations for reading text sources. As an import run's observer it shows what the run tells it: the counts in
// its number labels, written with the thousands separator, the running text and the gauge.
class TfrmGauge : public QDialog, public engine::ImportRunObserver {
    Q_OBJECT
public:
    static constexpr int HelpContext = 19;
    static constexpr int ClientWidth = 331;

    explicit TfrmGauge(QWidget* parent = nullptr);

    // Windows that are disabled while the progress window shows (the main window and the settings manager). A
    // window that is not on screen when the progress window shows is left alone.
    void registerLockedWindow(QWidget* window);

    // Shows the window; the counters and the cancel flag are reset only when it was not already showing, so that
    // two operations in a row can count on.
    void Show();
    // Closes the window (unlocking the registered windows).
    void Close();

    void setHeight(int height);
    bool cancelled() const override { return btnGaugeAbbrechen->ModalResult == ModalResultCancel; }

    // The import run's arrangement of the window: height 275, the cancel button at 60 offering to cancel, the help
    // button shown, the gauge from 0 to the record count; then shown.
    void runStarts(const QString& runningText, int recordCount) override;
    void runningText(const QString& text) override;
    void counts(const engine::ImportCounts& counts) override;
    void gaugePosition(int position) override;
    void messageRound() override;
    // The cancel button closes the window from now on.
    void closeOffered() override;
    void runAbandoned() override;

    // The window's parts, named as the operations address them.
    QFrame* panTop;
    QLabel* Label1;
    QLabel* lblAnzGeles;
    QLabel* lblAnzGeles2;
    QFrame* panImpLauf;
    QLabel* lblSummeQuelle;
    QLabel* lblAnzHinzu;
    QLabel* lblIgnor;
    QLabel* lblUmben;
    QLabel* lblAnzAkt;
    QLabel* lblSumme;
    QLabel* lblAnzFehler;
    QFrame* panBottom;
    QFrame* panGauge;
    QProgressBar* Gauge1;
    TModalButton* btnGaugeAbbrechen;
    QPushButton* btnHilfe;
    QLabel* ImgFolderFull;
    std::array<QLabel*, 10> FlyingImages;  // Image3 .. Image12
    QLabel* Database1;
    QLabel* DataBase2;
    std::array<QLabel*, 7> RedImages;  // RedImage0 .. RedImage6
    QTimer* AnimateTimer1;
    QTimer* AnimateTimer2;

    QLabel* Image(int n) const { return FlyingImages.at(n - 3); }
    QLabel* RedImage(int k) const { return RedImages.at(k); }
    int animationPhase() const { return phase_; }

    // Handlers, public so that the operations and tests can drive them as the events would.
    void FormShow();
    void FormClose();
    void btnGaugeAbbrechenClick();
    void btnHilfeClick();
    void AnimateTimer1Timer();
    void AnimateTimer2Timer();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    void setLocked(bool locked);
    void loadPictures();

    std::vector<QWidget*> lockedWindows_;
    int phase_ = 0;
    bool picturesLoaded_ = false;
};

}  // namespace wizard
