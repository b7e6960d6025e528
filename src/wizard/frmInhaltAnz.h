#pragma once

#include <QDialog>

namespace wizard {

// The contents viewer of the source and the target. Made once at start-up; its pages come with the viewer.
class TfrmInhaltAnz : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInhaltAnz(QWidget* parent = nullptr);
};

}  // namespace wizard
