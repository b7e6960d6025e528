#include "platform/StatusBar.h"

#include <QLabel>

namespace platform {

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent), simple_(new QLabel(this))
{
    setSizeGripEnabled(false);
    simple_->setObjectName(QStringLiteral("SimpleText"));
    addWidget(simple_, 1);
}

void TStatusBar::setSimplePanel(bool simple)
{
    simplePanel_ = simple;
    simple_->setVisible(simple);
    for (QLabel* panel : panels_)
        panel->setVisible(!simple);
}

QString TStatusBar::SimpleText() const
{
    return simple_->text();
}

void TStatusBar::setSimpleText(const QString& text)
{
    simple_->setText(text);
}

void TStatusBar::setPanels(const std::vector<Panel>& panels)
{
    for (QLabel* panel : panels_) {
        removeWidget(panel);
        delete panel;
    }
    panels_.clear();
    for (const Panel& wanted : panels) {
        auto* panel = new QLabel(this);
        // The last panel takes the rest of the bar.
        const bool last = &wanted == &panels.back();
        if (last)
            panel->setMinimumWidth(wanted.width);
        else
            panel->setFixedWidth(wanted.width);
        panel->setAlignment(wanted.alignment | Qt::AlignVCenter);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        addWidget(panel, last ? 1 : 0);
        panels_.push_back(panel);
    }
    setSimplePanel(simplePanel_);
}

QString TStatusBar::PanelText(int index) const
{
    return index >= 0 && index < PanelCount() ? panels_[static_cast<std::size_t>(index)]->text() : QString();
}

void TStatusBar::setPanelText(int index, const QString& text)
{
    if (index >= 0 && index < PanelCount())
        panels_[static_cast<std::size_t>(index)]->setText(text);
}

}  // namespace platform
