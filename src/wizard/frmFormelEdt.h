#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmFormelEdt;
}

namespace wizard {

class TfrmImport1;

// The formula editor: the formula of the current mapping row in a larger memo, and a preview of it on the current
// record of the source. Made once at start-up and shown, not modal, by the mapping page's zoom buttons. The memo
// writes straight into the mapping row, so closing the window needs no saving.
//
// Two states, told apart by the preview button's caption: editing (the memo) and preview (the result).
class TfrmFormelEdt : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFormelEdt(TfrmImport1& frmImport1, QWidget* parent = nullptr);
    ~TfrmFormelEdt() override;

    std::unique_ptr<Ui::TfrmFormelEdt> ui;

    // Binds the formula memo to the current mapping row's formula column ("Formel_alph" or "Formel_num") and shows
    // the editor, not modal.
    void editFormula(const QString& dataField);

    void btnVorschauClick();
    void btnOKClick();
    void btnHilfeClick();
    void FormKeyDown(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The preview text of the current formula, or an empty text when there is nothing to show.
    QString previewText();
    void showPreview(bool preview);

    TfrmImport1& frmImport1_;
};

}  // namespace wizard
