#include "platform/AccessibleNames.h"

#include <algorithm>
#include <memory>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMetaEnum>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <vector>

namespace platform {

namespace {

QString withoutAccessKeys(const QString& caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

QString captionOf(const QWidget* widget)
{
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    return {};
}

bool hasCaption(const QWidget* widget)
{
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLabel*>(widget) ||
           qobject_cast<const QGroupBox*>(widget);
}

// A caption of signs only ("|<", ">"): a person learns what the control does from its tool tip.
bool signsOnly(const QString& caption)
{
    return !caption.isEmpty() && std::none_of(caption.begin(), caption.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

// The tool tip that names a control whose caption does not, or an input without a label; empty when none does.
QString toolTipName(const QWidget* widget)
{
    if (widget->toolTip().isEmpty())
        return {};
    if (hasCaption(widget))
        return signsOnly(captionOf(widget)) ? widget->toolTip() : QString();
    return IsInputControl(widget) && !BuddyLabelOf(widget) ? widget->toolTip() : QString();
}

// A text Qt would read other than a person does: broken over lines, or rich text.
bool readDifferently(const QString& text)
{
    return text.contains(u'\n') || text.contains(u'\r') || Qt::mightBeRichText(text);
}

// The tab widget whose page widget is, or nullptr.
QTabWidget* tabWidgetOf(const QWidget* page)
{
    const QWidget* stack = page->parentWidget();
    if (!qobject_cast<const QStackedWidget*>(stack))
        return nullptr;
    return qobject_cast<QTabWidget*>(stack->parentWidget());
}

bool isPage(const QWidget* widget)
{
    return !widget->isWindow() && qobject_cast<const QStackedWidget*>(widget->parentWidget());
}

bool fillsPage(const QWidget* widget)
{
    return IsInputControl(widget) || qobject_cast<const QAbstractScrollArea*>(widget);
}

// The tab page on which widget is the only list, grid or text view, nullptr when there is none: such a view is
// what the tab shows, and its title names it (the viewer's grids).
QWidget* tabPageShowing(const QWidget* widget)
{
    if (!fillsPage(widget))
        return nullptr;
    QWidget* page = widget->parentWidget();
    while (page && !page->isWindow() && !isPage(page))
        page = page->parentWidget();
    if (!page || !isPage(page) || !tabWidgetOf(page))
        return nullptr;
    const QList<QWidget*> onPage = page->findChildren<QWidget*>();
    const bool alone = std::count_if(onPage.begin(), onPage.end(), [](const QWidget* w) {
                           return fillsPage(w) && !qobject_cast<const QAbstractScrollArea*>(w->parentWidget());
                       }) == 1;
    return alone ? page : nullptr;
}

// Where the name comes from when Qt does not name the widget itself (see the header); nullptr when Qt does.
QWidget* ownSource(QWidget* widget)
{
    if (widget->isWindow())
        return widget->windowTitle().isEmpty() ? HeadingOf(widget) : nullptr;
    if (isPage(widget)) {
        if (QTabWidget* tabs = tabWidgetOf(widget))
            return tabs->tabBar();
        return HeadingOf(widget);
    }
    if (!toolTipName(widget).isEmpty())
        return widget;
    if (hasCaption(widget))
        return readDifferently(captionOf(widget)) ? widget : nullptr;
    if (IsInputControl(widget)) {
        // Qt names an item view by its own accessible name only, never by its label.
        if (QLabel* label = BuddyLabelOf(widget))
            return readDifferently(label->text()) || label->parentWidget() != widget->parentWidget() ||
                           qobject_cast<QAbstractItemView*>(widget)
                       ? label
                       : nullptr;
        if (auto* group = qobject_cast<QGroupBox*>(widget->parentWidget()))
            return readDifferently(group->title()) ? group : nullptr;
    }
    // A progress bar is named by the label that says what is in progress.
    if (auto* bar = qobject_cast<QProgressBar*>(widget))
        return BuddyLabelOf(bar);
    if (QWidget* page = tabPageShowing(widget); page && !BuddyLabelOf(widget))
        return tabWidgetOf(page)->tabBar();
    return nullptr;
}

// A label whose buddy has a caption of its own says more about that control than its caption: a hint.
QLabel* hintOf(const QWidget* widget)
{
    if (!hasCaption(widget) || qobject_cast<const QLabel*>(widget))
        return nullptr;
    return BuddyLabelOf(widget);
}

// Windows that are plain widgets are the program's frames; Qt would hand them to the bus as fillers. A plain
// panel inside a window is a panel: Qt would hand it on as a frame, which a screen reader takes for a window.
QAccessibleInterface* frameFactory(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (!widget->isWindow())
        return className == u"QFrame" ? new QAccessibleWidget(widget, QAccessible::Pane) : nullptr;
    const QMetaObject* type = object->metaObject();
    // The nearest of Qt's own classes decides: a dialog, a main window or a popup keeps Qt's interface.
    while (type && (type->className()[0] != 'Q' || QByteArray(type->className()).contains("::")))
        type = type->superClass();
    if (!type || qstrcmp(type->className(), "QWidget") != 0)
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

class NameKeeper;
std::vector<QPointer<NameKeeper>>& keepers()
{
    static std::vector<QPointer<NameKeeper>> all;
    return all;
}

// Keeps the names and descriptions set here equal to their texts, so that a name follows its text before a person
// can reach it: when a screen reader starts, every name is brought up to date at once.
class NameKeeper : public QObject {
public:
    static inline const QString Name = QStringLiteral("qt_accessible_names");

    explicit NameKeeper(QWidget* window) : QObject(window)
    {
        setObjectName(Name);
        keepers().push_back(this);
    }
    ~NameKeeper() override { std::erase(keepers(), this); }

    void rebuild(QWidget* window)
    {
        // The names set here for captions that read differently stay this keeper's to follow.
        QHash<const QWidget*, std::shared_ptr<QString>> ours;
        for (const Entry& entry : entries_)
            if (entry.whileReadDifferently && entry.target)
                ours.insert(entry.target.data(), entry.named);
        for (const Entry& entry : entries_) {
            if (entry.source)
                entry.source->removeEventFilter(this);
            if (entry.target)
                entry.target->removeEventFilter(this);
        }
        entries_.clear();
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets.prepend(window);
        for (QWidget* widget : widgets) {
            if (widget != window && widget->isWindow())
                continue;
            // A name that is only the object's name was meant as a placeholder: the person reads something else.
            if (!widget->accessibleName().isEmpty() && widget->accessibleName() == widget->objectName())
                widget->setAccessibleName(QString());
            if (QWidget* source = ownSource(widget))
                add({widget, source, false});
            else if (hasCaption(widget)) {
                const std::shared_ptr<QString> named = ours.value(widget, std::make_shared<QString>());
                if (widget->accessibleName() == *named)
                    add({widget, widget, false, true, named});
            }
            if (QLabel* hint = hintOf(widget))
                add({widget, hint, true});
        }
        syncAll();
    }

    void syncAll()
    {
        for (const Entry& entry : entries_)
            sync(entry);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A text changed from code repaints its widget; a control or page that comes into view is checked too.
        const bool painted = event->type() == QEvent::Paint;
        if (painted || event->type() == QEvent::Show)
            for (const Entry& entry : entries_)
                if (entry.source == watched || (!painted && entry.target == watched))
                    sync(entry);
        return false;
    }

private:
    struct Entry {
        QPointer<QWidget> target;
        QPointer<QWidget> source;
        bool description;
        // A caption Qt reads as a person does, until the program sets one that it would not (a running text
        // with its line breaks): named here only while it reads differently, and only while nobody else names it.
        bool whileReadDifferently = false;
        std::shared_ptr<QString> named = std::make_shared<QString>();
    };

    void add(Entry entry)
    {
        entry.source->installEventFilter(this);
        entry.target->installEventFilter(this);
        entries_.push_back(std::move(entry));
    }

    static void sync(const Entry& entry)
    {
        if (!entry.target)
            return;
        if (entry.description) {
            const QString text = entry.source ? ReadText(captionOf(entry.source)) : QString();
            if (entry.target->accessibleDescription() != text)
                entry.target->setAccessibleDescription(text);
        } else if (entry.whileReadDifferently) {
            if (entry.target->accessibleName() != *entry.named)
                return;
            *entry.named = readDifferently(captionOf(entry.target)) ? ReadName(entry.target) : QString();
            if (entry.target->accessibleName() != *entry.named)
                entry.target->setAccessibleName(*entry.named);
        } else {
            // A list's or grid's label is known: a repaint of the label need not look for it in the whole window.
            auto* label = qobject_cast<QLabel*>(entry.source.data());
            const QString name =
                label && IsInputControl(entry.target) ? ReadText(label->text()) : ReadName(entry.target);
            if (entry.target->accessibleName() != name)
                entry.target->setAccessibleName(name);
        }
    }

    std::vector<Entry> entries_;
};

class Activation : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override
    {
        if (active)
            for (NameKeeper* keeper : keepers())
                if (keeper)
                    keeper->syncAll();
    }
};

void installOnce()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(frameFactory);
    static Activation activation;
    QAccessible::installActivationObserver(&activation);
}

}  // namespace

QString ReadText(const QString& text)
{
    QString plain = text;
    if (Qt::mightBeRichText(plain)) {
        QTextDocument document;
        document.setHtml(plain);
        plain = document.toPlainText();
    } else {
        plain = withoutAccessKeys(plain);
    }
    plain.remove(u'\r');
    QString joined;
    joined.reserve(plain.size());
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (plain[i] != u'\n') {
            joined += plain[i];
            continue;
        }
        // "Daten-" at a line's end and "bank" on the next: one word, as the eye reads it; "Velmora-" and
        // "Wendamo": one name that keeps its hyphen.
        const bool hyphenated = joined.size() >= 2 && joined.back() == u'-' && joined[joined.size() - 2].isLetter() &&
                                i + 1 < plain.size() && plain[i + 1].isLetter();
        if (!hyphenated)
            joined += u' ';
        else if (plain[i + 1].isLower())
            joined.chop(1);
    }
    return joined.simplified();
}

QLabel* BuddyLabelOf(const QWidget* control)
{
    if (!control)
        return nullptr;
    for (QLabel* label : control->window()->findChildren<QLabel*>())
        if (label->buddy() == control)
            return label;
    return nullptr;
}

bool IsInputControl(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractItemView*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
}

QLabel* HeadingOf(const QWidget* page)
{
    // Children come in the order the window was laid out, which is the reading order. A heading of a page nested
    // inside this one (a sheet of an options panel) names that page, not this one.
    const auto onThisPage = [page](const QWidget* label) {
        for (const QWidget* w = label->parentWidget(); w && w != page; w = w->parentWidget())
            if (isPage(w))
                return false;
        return true;
    };
    for (QLabel* label : page->findChildren<QLabel*>())
        if (label->font().bold() && !label->isWindow() && onThisPage(label))
            return label;
    return nullptr;
}

namespace {

// What a label says, read as a person reads it; empty for no label.
QString labelText(const QLabel* label)
{
    return label ? ReadText(label->text()) : QString();
}

}  // namespace

QString ReadName(const QWidget* widget)
{
    if (widget->isWindow()) {
        if (!widget->windowTitle().isEmpty())
            return widget->windowTitle();
        return labelText(HeadingOf(widget));
    }
    if (isPage(widget)) {
        if (QTabWidget* tabs = tabWidgetOf(widget))
            return ReadText(tabs->tabText(tabs->indexOf(const_cast<QWidget*>(widget))));
        return labelText(HeadingOf(widget));
    }
    if (const QString tip = toolTipName(widget); !tip.isEmpty())
        return ReadText(tip);
    if (hasCaption(widget))
        return ReadText(captionOf(widget));
    if (IsInputControl(widget)) {
        if (const QLabel* label = BuddyLabelOf(widget))
            return ReadText(label->text());
        if (auto* group = qobject_cast<const QGroupBox*>(widget->parentWidget()))
            return ReadText(group->title());
    }
    if (auto* bar = qobject_cast<const QProgressBar*>(widget))
        return labelText(BuddyLabelOf(bar));
    if (const QWidget* page = tabPageShowing(widget))
        return ReadName(page);
    return {};
}

namespace {

void walk(QAccessibleInterface* node, int depth, std::vector<AccessibleNode>& nodes)
{
    if (!node || !node->isValid())
        return;
    nodes.push_back({depth, node->object(), node->role(), node->text(QAccessible::Name),
                     node->text(QAccessible::Description), node->state().invisible != 0});
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), depth + 1, nodes);
}

}  // namespace

std::vector<AccessibleNode> AccessibleTree(QWidget* window)
{
    std::vector<AccessibleNode> nodes;
    walk(QAccessible::queryAccessibleInterface(window), 0, nodes);
    return nodes;
}

QString RoleName(QAccessible::Role role)
{
    const char* key = QMetaEnum::fromType<QAccessible::Role>().valueToKey(role);
    return key ? QString::fromLatin1(key) : QString::number(role);
}

void NameAccessibly(QWidget* window)
{
    installOnce();
    auto* keeper = static_cast<NameKeeper*>(window->findChild<QObject*>(NameKeeper::Name, Qt::FindDirectChildrenOnly));
    if (!keeper)
        keeper = new NameKeeper(window);
    keeper->rebuild(window);
}

}  // namespace platform
