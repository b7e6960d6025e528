#pragma once

#include <QDialog>

namespace wizard {

// The source format options. Made once at start-up; its controls come with the options.
class TfrmQOptionen : public QDialog {
    Q_OBJECT
public:
    explicit TfrmQOptionen(QWidget* parent = nullptr);
};

}  // namespace wizard
