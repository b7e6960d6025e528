#pragma once

#include <QDialog>

namespace wizard {

// The list of notes made while settings are read from a disk. Made once at start-up; its memo comes with the list.
class TfrmCopyFehler : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCopyFehler(QWidget* parent = nullptr);
};

}  // namespace wizard
