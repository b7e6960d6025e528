#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmCopyFehler;
}

namespace wizard {

// The list of notes made while settings are read from a disk. The settings manager adds one note per event; the
// notes stay while the list is hidden and go when it is closed after being shown, so notes of a read whose list
// was not looked at appear with the next read's.
class TfrmCopyFehler : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCopyFehler(QWidget* parent = nullptr);
    ~TfrmCopyFehler() override;

    std::unique_ptr<Ui::TfrmCopyFehler> ui;

    // Adds a note; it ends in CR LF.
    void AddNote(const QString& note);
    const QString& Notes() const { return notes_; }

    void FormShow();
    void FormClose();
    void btnSchliessenClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString notes_;
};

}  // namespace wizard
