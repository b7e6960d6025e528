#include "platform/WindowTexts.h"

#include "platform/AccessibleNames.h"
#include "platform/LocUtils.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

namespace platform {

namespace {

QString className(const QWidget* window)
{
    const QString name = QString::fromLatin1(window->metaObject()->className());
    return name.section(QStringLiteral("::"), -1);
}

bool addressable(const QWidget* widget)
{
    const QString name = widget->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

template <typename Visit>
void forEachText(QWidget* window, Visit visit)
{
    const QString prefix = className(window);
    // The program's title is a name, not a text of a language.
    if (!window->property(kUntranslatedCaption).toBool() &&
        window->windowTitle() != QGuiApplication::applicationDisplayName())
        visit(prefix, window->windowTitle(), [window](const QString& t) { window->setWindowTitle(t); });
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!addressable(widget) || widget->isWindow() || widget->property(kUntranslated).toBool())
            continue;
        const QString key = prefix + u'.' + widget->objectName();
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            visit(key, button->text(), [button](const QString& t) { button->setText(t); });
        else if (auto* label = qobject_cast<QLabel*>(widget))
            visit(key, label->text(), [label](const QString& t) { label->setText(t); });
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            visit(key, group->title(), [group](const QString& t) { group->setTitle(t); });
        else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            // A tab's title is its page's text, under the page's name.
            for (int i = 0; i < tabs->count(); ++i) {
                QWidget* page = tabs->widget(i);
                if (!addressable(page))
                    continue;
                visit(prefix + u'.' + page->objectName(), tabs->tabText(i),
                      [tabs, page](const QString& t) { tabs->setTabText(tabs->indexOf(page), t); });
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && !combo->isEditable()) {
            for (int i = 0; i < combo->count(); ++i)
                visit(key + u'.' + QString::number(i), combo->itemText(i),
                      [combo, i](const QString& t) { combo->setItemText(i, t); });
        }
        visit(key + QStringLiteral(".toolTip"), widget->toolTip(), [widget](const QString& t) { widget->setToolTip(t); });
        // A page without a heading or tab carries the name a screen reader gives it in the window's description
        // (the others are named by what they show, NameAccessibly).
        if (qobject_cast<QStackedWidget*>(widget->parentWidget()) &&
            !qobject_cast<QTabWidget*>(widget->parentWidget()->parentWidget()) && !HeadingOf(widget) &&
            widget->accessibleName() != widget->objectName())
            visit(key + QStringLiteral(".accessibleName"), widget->accessibleName(),
                  [widget](const QString& t) { widget->setAccessibleName(t); });
    }
}

}  // namespace

void MarkUntranslated(QWidget* widget)
{
    widget->setProperty(kUntranslated, true);
}

std::vector<WindowTextEntry> CollectWindowTexts(QWidget* window)
{
    std::vector<WindowTextEntry> entries;
    forEachText(window, [&entries](const QString& key, const QString& text, auto) {
        if (!text.isEmpty())
            entries.push_back({key, text});
    });
    return entries;
}

void TranslateWindow(QWidget* window)
{
    forEachText(window, [](const QString& key, const QString& text, auto set) {
        if (text.isEmpty())
            return;
        if (const auto translated = WindowText(key))
            set(*translated);
    });
    NameAccessibly(window);
}

}  // namespace platform
