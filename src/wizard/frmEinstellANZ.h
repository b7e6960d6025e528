#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmEinstellANZ;
}

namespace wizard {

class TfrmImport1;
class TfrmQOptionen;

// The settings viewer: the current setting of the wizard's list, read-only, for a user who runs a stored setting
// unchanged. The option labels close up from the top when an option is off. Made once at start-up, shown without
// blocking.
class TfrmEinstellANZ : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 14;
    // Where the three option labels stand when all show.
    static constexpr int TopSicherungskopie = 36;
    static constexpr int TopZielLeeren = 56;
    static constexpr int TopImportmodus = 76;

    explicit TfrmEinstellANZ(QWidget* parent = nullptr);
    ~TfrmEinstellANZ() override;

    std::unique_ptr<Ui::TfrmEinstellANZ> ui;

    // The wizard whose settings list is shown and the source format options window (either may be null).
    void setWizard(TfrmImport1* wizard, TfrmQOptionen* options);

    void FormShow();
    void FormClose();
    void btnSchliessenClick();
    void btnHilfeClick();
    void btnOptionenClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TfrmImport1* wizard_ = nullptr;
    TfrmQOptionen* options_ = nullptr;
};

}  // namespace wizard
