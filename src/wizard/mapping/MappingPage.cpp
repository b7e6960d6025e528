#include "wizard/mapping/MappingPage.h"

#include "db/DataSource.h"
#include "db/Table.h"
#include "db/TableModel.h"
#include "platform/DataGrid.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <vector>

namespace wizard::mapping {

namespace {

const QString kZuordnung = QStringLiteral("Zuordnung");
const QString kFeldname = QStringLiteral("Feldname");
const QString kIndex = QStringLiteral("Index");
const QString kTyp = QStringLiteral("Typ");
// What a dragged source row carries: its field name.
const QString kSourceFieldMime = QStringLiteral("application/x-import-quellfeld");

// The columns a mapping row's options consist of, in table order: what an earlier mapping hands on.
const char* const kOptionColumns[] = {
    "Zuordnung",      "Div",        "Mul",          "Vorgabewert_alph", "Vorgabewert_num",  "BedGleich",
    "BedKleiner",     "BedGroesser", "BedLeer",     "Quellwert_alph",   "Quellwert_num",    "Formel_alph",
    "Formel_num",     "Runden",     "Ausrichtung_li", "Ausrichtung_re", "Ueberl_abschneid_li",
    "Ueberl_abschneid_re", "StringAuswahlBeg", "StringAuswahlEnd", "FeldAkt",
};

QString Text(db::Table& table, const QString& column)
{
    return table.FieldByName(column)->AsString();
}

// Holds the grids of a table still while a loop walks it, on every way out.
class ControlsHeld {
public:
    explicit ControlsHeld(db::Table& table) : table_(table) { table_.DisableControls(); }
    ~ControlsHeld() { table_.EnableControls(); }
    ControlsHeld(const ControlsHeld&) = delete;
    ControlsHeld& operator=(const ControlsHeld&) = delete;

private:
    db::Table& table_;
};

void Assign(db::Table& tblZStrukt, int recNo, const QString& sourceField)
{
    tblZStrukt.setRecNo(recNo);
    tblZStrukt.Edit();
    tblZStrukt.FieldByName(kZuordnung)->setAsString(sourceField);
    tblZStrukt.Post();
}

}  // namespace

TypeClass SourceTypeClass(int typeCode)
{
    switch (typeCode) {
    case 1: case 5: case 9: case 10: case 11: case 16: case 18: return TypeClass::Text;
    case 2: case 3: case 4: case 6: case 7: case 14: return TypeClass::Number;
    default: return TypeClass::None;
    }
}

TypeClass TargetTypeClass(int typeCode)
{
    // A counter is filled by the table itself: nothing about it can be chosen.
    return typeCode == CounterType ? TypeClass::None : SourceTypeClass(typeCode);
}

OptionsSheet SheetFor(bool mapped, int sourceTypeCode, int targetTypeCode)
{
    if (!mapped) {
        switch (targetTypeCode) {
        case 1: case 5: case 9: case 10: case 11: case 16: case 18: return OptionsSheet::String_String;
        case 2: case 3: case 4: case 6: case 7: case 12: case 13: case 21: return OptionsSheet::Zahl_Zahl;
        case 8: case 14: case 15: case 17: case 19: case 20: case 22: return OptionsSheet::Closed;
        default: return OptionsSheet::Unchanged;
        }
    }
    const TypeClass source = SourceTypeClass(sourceTypeCode);
    const TypeClass target = TargetTypeClass(targetTypeCode);
    if (source == TypeClass::None || target == TypeClass::None)
        return OptionsSheet::Closed;
    if (source == TypeClass::Text)
        return target == TypeClass::Text ? OptionsSheet::String_String : OptionsSheet::String_Zahl;
    return target == TypeClass::Text ? OptionsSheet::Zahl_String : OptionsSheet::Zahl_Zahl;
}

void ZuordnungZuruecksetzen(db::Table& tblZStrukt)
{
    tblZStrukt.Edit();
    for (const char* column : kOptionColumns) {
        db::Field* field = tblZStrukt.FieldByName(QLatin1String(column));
        if (field->DataType() == db::FieldType::ftBoolean)
            field->setAsBoolean(false);
        else
            field->Clear();
    }
    tblZStrukt.FieldByName(QStringLiteral("Ausrichtung_re"))->setAsBoolean(true);
    tblZStrukt.FieldByName(QStringLiteral("FeldAkt"))->setAsBoolean(true);
    tblZStrukt.Post();
}

int ZuordnenNachNameUndSchluessel(db::Table& tblQuelle, db::Table& tblQStrukt, db::Table& tblZStrukt,
                                  const StepReport& step)
{
    tblQStrukt.Open();
    tblZStrukt.Open();
    int assignments = 0;
    {
        ControlsHeld heldQ(tblQStrukt);
        ControlsHeld heldZ(tblZStrukt);
        // The target rows once, by upper-cased name: every source row looks its partners up instead of walking
        // all target rows again, which keeps 255 x 255 fields as quick as a handful.
        struct Target {
            bool key;
            QString zuordnung;
        };
        std::vector<Target> targets;
        std::vector<int> keyRows;
        QHash<QString, std::vector<int>> byName;
        std::vector<int> stale;
        for (tblZStrukt.First(); !tblZStrukt.Eof(); tblZStrukt.Next()) {
            const int row = static_cast<int>(targets.size());
            const bool key = !Text(tblZStrukt, kIndex).isEmpty();
            const QString zuordnung = Text(tblZStrukt, kZuordnung);
            targets.push_back({key, zuordnung});
            if (key)
                keyRows.push_back(row);
            if (tblZStrukt.FieldByName(kTyp)->AsString() != QString::number(CounterType))
                byName[Text(tblZStrukt, kFeldname).toUpper()].push_back(row);
            if (!zuordnung.isEmpty() && !tblQuelle.FindField(zuordnung))
                stale.push_back(row);
        }
        tblQStrukt.First();
        if (!tblQStrukt.Eof()) {
            for (int row : stale) {
                tblZStrukt.setRecNo(row + 1);
                ZuordnungZuruecksetzen(tblZStrukt);
                targets[static_cast<std::size_t>(row)].zuordnung.clear();
            }
        }
        for (; !tblQStrukt.Eof(); tblQStrukt.Next()) {
            const QString name = Text(tblQStrukt, kFeldname);
            const bool sourceKey = !Text(tblQStrukt, kIndex).isEmpty();
            auto assign = [&](int row) {
                Assign(tblZStrukt, row + 1, name);
                targets[static_cast<std::size_t>(row)].zuordnung = name;
                ++assignments;
            };
            // A source key fills every target key, whatever its name or type; any other pair goes by name.
            if (sourceKey) {
                for (int row : keyRows)
                    assign(row);
            }
            for (int row : byName.value(name.toUpper())) {
                if (!(sourceKey && targets[static_cast<std::size_t>(row)].key))
                    assign(row);
            }
            if (step && !step(tblQStrukt.RecNo()))
                break;
        }
    }
    tblQStrukt.First();
    tblZStrukt.First();
    return assignments;
}

void ZuordnungenUebertragen(db::Table& tblTempStrukt, db::Table& tblZStrukt, db::Table& tblQuelle)
{
    tblZStrukt.Open();
    tblQuelle.Open();
    struct Earlier {
        QString zuordnung;
        std::vector<QVariant> values;
    };
    // The last earlier row of a name decides, as it was the last one carried over.
    QHash<QString, Earlier> earlier;
    for (tblTempStrukt.First(); !tblTempStrukt.Eof(); tblTempStrukt.Next()) {
        Earlier row;
        row.zuordnung = Text(tblTempStrukt, kZuordnung);
        for (const char* column : kOptionColumns)
            row.values.push_back(tblTempStrukt.FieldByName(QLatin1String(column))->AsVariant());
        earlier.insert(Text(tblTempStrukt, kFeldname).toUpper(), std::move(row));
    }
    ControlsHeld held(tblZStrukt);
    for (tblZStrukt.First(); !tblZStrukt.Eof(); tblZStrukt.Next()) {
        const auto found = earlier.constFind(Text(tblZStrukt, kFeldname).toUpper());
        if (found == earlier.constEnd())
            continue;
        if (!found->zuordnung.isEmpty() && !tblQuelle.FindField(found->zuordnung)) {
            ZuordnungZuruecksetzen(tblZStrukt);
            continue;
        }
        tblZStrukt.Edit();
        std::size_t i = 0;
        for (const char* column : kOptionColumns) {
            db::Field* field = tblZStrukt.FieldByName(QLatin1String(column));
            const QVariant& value = found->values[i++];
            if (value.isValid())
                field->setAsVariant(value);
            else
                field->Clear();
        }
        tblZStrukt.Post();
    }
    tblZStrukt.First();
}

bool IndexSpalteAnpassen(db::Table& tblZStrukt)
{
    tblZStrukt.Open();
    bool keyRow = false;
    {
        ControlsHeld held(tblZStrukt);
        for (tblZStrukt.First(); !tblZStrukt.Eof() && !keyRow; tblZStrukt.Next())
            keyRow = !Text(tblZStrukt, kIndex).isEmpty();
        tblZStrukt.FieldByName(kIndex)->setVisible(keyRow);
        tblZStrukt.FieldByName(kFeldname)->setDisplayWidth(keyRow ? 13 : 16);
        tblZStrukt.FieldByName(kZuordnung)->setDisplayWidth(keyRow ? 14 : 16);
    }
    tblZStrukt.First();
    return keyRow;
}

void AlleZuordnungenAufheben(db::Table& tblZStrukt, const StepReport& step)
{
    tblZStrukt.Open();
    for (tblZStrukt.First(); !tblZStrukt.Eof(); tblZStrukt.Next()) {
        db::Field* zuordnung = tblZStrukt.FieldByName(kZuordnung);
        if (!zuordnung->AsString().isEmpty()) {
            tblZStrukt.Edit();
            zuordnung->Clear();
            tblZStrukt.Post();
        }
        if (step && !step(tblZStrukt.RecNo()))
            break;
    }
    tblZStrukt.First();
}

// ---- the grids ----

class MappingGrids::AssignmentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->palette.setColor(QPalette::Text, Qt::blue);
    }
};

class MappingGrids::Header : public QHeaderView {
public:
    using QHeaderView::QHeaderView;
    int boldSection = -1;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        if (logicalIndex != boldSection) {
            QHeaderView::paintSection(painter, rect, logicalIndex);
            return;
        }
        painter->save();
        QFont font = painter->font();
        font.setBold(true);
        painter->setFont(font);
        QHeaderView::paintSection(painter, rect, logicalIndex);
        painter->restore();
    }
};

MappingGrids::MappingGrids(platform::TDBGrid* source, platform::TDBGrid* target, QObject* parent)
    : QObject(parent), source_(source), target_(target), delegate_(new AssignmentDelegate(target)),
      header_(new Header(Qt::Horizontal))
{
    for (platform::TDBGrid* grid : {source_, target_}) {
        grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        connect(grid, &QAbstractItemView::doubleClicked, this, [this] { emit assignRequested(); });
    }
    target_->setHorizontalHeader(header_);
    // Titles stay as they are whichever row is chosen: bold is the assignment column's alone.
    for (platform::TDBGrid* grid : {source_, target_}) {
        grid->horizontalHeader()->setSectionsClickable(false);
        grid->horizontalHeader()->setHighlightSections(false);
    }
    sourceViewport_ = source_->viewport();
    targetViewport_ = target_->viewport();
    sourceViewport_->installEventFilter(this);
    targetViewport_->installEventFilter(this);
    target_->setAcceptDrops(true);
    target_->viewport()->setAcceptDrops(true);
    target_->installEventFilter(this);
    // A new set of columns (the table opened, the Index column shown or hidden) comes in the table's order.
    connect(target_->model(), &QAbstractItemModel::modelReset, this, &MappingGrids::arrangeTargetColumns);
}

void MappingGrids::setAssignmentStyle(bool emphasised)
{
    emphasised_ = emphasised;
    arrangeTargetColumns();
}

void MappingGrids::arrangeTargetColumns()
{
    db::TableModel* records = target_->tableModel();
    if (!records)
        return;
    const QStringList order = {kIndex, kFeldname, QStringLiteral("Typbezeichnung"), QStringLiteral("Laenge"),
                               kZuordnung};
    const int columns = records->columnCount();
    for (int column = 0; column < columns; ++column)
        target_->setItemDelegateForColumn(column, nullptr);
    header_->boldSection = -1;
    int visual = 0;
    const int charWidth = target_->fontMetrics().horizontalAdvance(u'0');
    for (const QString& name : order) {
        for (int column = 0; column < columns; ++column) {
            const db::Field* field = records->fieldAt(column);
            if (!field || field->FieldName().compare(name, Qt::CaseInsensitive) != 0)
                continue;
            header_->moveSection(header_->visualIndex(column), visual++);
            const int title = target_->fontMetrics().horizontalAdvance(field->DisplayLabel());
            target_->setColumnWidth(column, std::max(charWidth * std::min(field->DisplayWidth(), 64), title) + 8);
            if (name == kZuordnung && emphasised_) {
                target_->setItemDelegateForColumn(column, delegate_);
                header_->boldSection = column;
            }
        }
    }
    header_->viewport()->update();
    target_->viewport()->update();
}

void MappingGrids::dropSourceRowAt(const QPoint& viewportPoint)
{
    const int row = target_->rowAt(viewportPoint.y());
    if (row < 0 || !target_->model())
        return;
    target_->setCurrentIndex(target_->model()->index(row, std::max(0, target_->currentIndex().column())));
    emit assignRequested();
}

bool MappingGrids::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == target_ && event->type() == QEvent::KeyRelease) {
        emit targetKeyUp(static_cast<QKeyEvent*>(event)->key());
        return false;
    }
    if (watched == sourceViewport_) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            pressed_ = mouse->button() == Qt::LeftButton;
            pressedAt_ = mouse->position().toPoint();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            pressed_ = false;
        } else if (event->type() == QEvent::MouseMove && pressed_) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if ((mouse->position().toPoint() - pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
                pressed_ = false;
                const QModelIndex current = source_->currentIndex();
                auto* data = new QMimeData;
                data->setData(kSourceFieldMime, current.isValid() ? current.data().toString().toUtf8() : QByteArray());
                auto* drag = new QDrag(source_);
                drag->setMimeData(data);
                drag->exec(Qt::CopyAction);
                return true;
            }
        }
        return false;
    }
    if (watched == targetViewport_) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (drag->mimeData()->hasFormat(kSourceFieldMime)) {
                drag->acceptProposedAction();
                return true;
            }
            return false;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!drop->mimeData()->hasFormat(kSourceFieldMime))
                return false;
            drop->acceptProposedAction();
            dropSourceRowAt(drop->position().toPoint());
            return true;
        }
        default:
            return false;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace wizard::mapping
