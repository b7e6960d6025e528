#pragma once

#include <QDialog>

namespace wizard {

// The formula editor. Made once at start-up; its memos and buttons come with the editor.
class TfrmFormelEdt : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFormelEdt(QWidget* parent = nullptr);
};

}  // namespace wizard
