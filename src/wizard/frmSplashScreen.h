#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QFrame;

namespace wizard {

struct ProgramContext;

// The start screen, and the about box made from the same window: product name, version line with the program
// file's date, and the maker's web and mail links.
class TfrmSplashScreen : public QDialog {
    Q_OBJECT
public:
    static inline const QString WebAddress = QStringLiteral("https://www.velmora.example/");
    static inline const QString MailAddress = QStringLiteral("mailto:import@velmora.example");

    TfrmSplashScreen(const ProgramContext& context, QWidget* parent = nullptr);

    QFrame* panOben;
    QLabel* lblProduktName;
    QLabel* lblBeschreibung;
    QLabel* lblVersion;
    QLabel* lblInternet;
    QLabel* lblEMail;
    QFrame* panUnten;
    QPushButton* btnOK;

    void FormCreate();
    void btnOKClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const ProgramContext& context_;
};

}  // namespace wizard
