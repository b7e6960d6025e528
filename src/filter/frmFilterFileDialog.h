#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class TfrmFilterFileDialog;
}

namespace filter {

// The picker of filter files: the ".flt" files of the filter folder with their dates and descriptions. In save
// mode a name is typed or chosen, with a description and the protection mark; in load mode a file is chosen.
class TfrmFilterFileDialog : public QDialog {
    Q_OBJECT

public:
    TfrmFilterFileDialog(const QString& filterFolder, QWidget* parent = nullptr);
    ~TfrmFilterFileDialog() override;

    std::unique_ptr<Ui::TfrmFilterFileDialog> ui;

    // The folder listed, with its trailing separator.
    const QString& FilterFolder() const { return FilterFolder_; }

    void FormActivate();
    void lvTemplateClick();
    void lvTemplateDblClick();
    void edFileNameChange();

    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString FilterFolder_;
    QString programFolder_;
    // The window comes back to the front after its own refusal: what the person typed stays.
    bool keepOnActivate_ = false;
};

// Shows the picker in save or load mode. True when a file was chosen with OK (and, in save mode, it may be
// written); FileName is then its full path. In save mode it also writes the file's section Main. A file that
// cannot be read or written, or is protected, is said in a message and gives false.
bool SelectFilterFile(QString& FileName, bool IsSave, const QString& filterFolder, QWidget* parent = nullptr);

// Whether a file's Protect value marks it protected: a whole number other than 0.
bool IsProtectValue(const QString& value);

// Whether a typed name can name a file directly in the filter folder.
bool IsPlainFileName(const QString& name);

}  // namespace filter
