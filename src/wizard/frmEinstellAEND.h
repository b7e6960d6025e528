#pragma once

#include <QDialog>

namespace wizard {

// The settings manager. Made once at start-up; its lists and buttons come with the manager.
class TfrmEinstellAEND : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEinstellAEND(QWidget* parent = nullptr);
};

}  // namespace wizard
