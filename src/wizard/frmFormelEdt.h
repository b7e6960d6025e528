#pragma once

#include <QDialog>

namespace wizard {

// The formula editor. Made once at start-up; its memos and buttons come with the editor.
class TfrmFormelEdt : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFormelEdt(QWidget* parent = nullptr);
    // Binds the formula memo to the current mapping row's formula column ("Formel_alph" or "Formel_num") and shows
    // the editor, not modal.
    void editFormula(const QString& dataField);
};

}  // namespace wizard
