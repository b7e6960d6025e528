#pragma once

#include <QDialog>

namespace wizard {

// The settings viewer. Made once at start-up; its controls come with the viewer.
class TfrmEinstellANZ : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEinstellANZ(QWidget* parent = nullptr);
};

}  // namespace wizard
