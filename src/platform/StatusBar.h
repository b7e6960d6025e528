#pragma once

#include <QStatusBar>
#include <vector>

class QLabel;

// A status bar of fixed panels, or of one simple panel that spans it. Unlike QStatusBar's own message, the texts
// stay until they are set again.
namespace platform {

class TStatusBar : public QStatusBar {
    Q_OBJECT

public:
    struct Panel {
        int width = 50;
        Qt::Alignment alignment = Qt::AlignLeft;
    };

    explicit TStatusBar(QWidget* parent = nullptr);

    bool SimplePanel() const { return simplePanel_; }
    void setSimplePanel(bool simple);
    QString SimpleText() const;
    void setSimpleText(const QString& text);

    // Replaces the panels shown while SimplePanel is off; the last one is at least its width wide and takes the
    // rest of the bar.
    void setPanels(const std::vector<Panel>& panels);
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    QString PanelText(int index) const;
    void setPanelText(int index, const QString& text);

private:
    QLabel* simple_;
    std::vector<QLabel*> panels_;
    bool simplePanel_ = true;
};

}  // namespace platform
