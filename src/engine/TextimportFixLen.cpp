#include "engine/TextimportFixLen.h"

#include "db/Table.h"
#include "engine/BriskoRoutines.h"
#include "engine/TextReadProgress.h"
#include "engine/TextScanner.h"
#include "engine/Textimport.h"
#include "rtl/Conversions.h"
#include "texts/Texts.h"

#include <algorithm>
#include <limits>

namespace engine {

namespace {

constexpr int HighSlot = BoundarySlotCount - 1;
// rtl::Trim on a part of a line, without copying the part first.
QString trimmed(QStringView part)
{
    qsizetype from = 0;
    qsizetype to = part.size();
    while (from < to && part[from].unicode() <= 32)
        ++from;
    while (to > from && part[to - 1].unicode() <= 32)
        --to;
    return part.sliced(from, to - from).toString();
}

}  // namespace

// ---- the Column boundary list ----

int TrennposSuchen(const ColumnBoundaryList& list, int Column)
{
    return TrennposSuchenAndere(list, Column, -1);
}

int TrennposSuchenAndere(const ColumnBoundaryList& list, int Column, int ExceptSlot)
{
    const int count = std::clamp(list.FixTrennAnzahl, 0, BoundarySlotCount);
    for (int slot = 0; slot < count; ++slot) {
        if (slot != ExceptSlot && list.FixTrennPositionen[static_cast<std::size_t>(slot)] == Column)
            return slot;
    }
    return -1;
}

void TrennposHinzufuegen(ColumnBoundaryList& list, int Column)
{
    // A boundary outside the slot's range could not be stored as it is.
    if (Column < 1 || Column > MaxBoundary)
        return;
    if (TrennposSuchen(list, Column) >= 0)
        return;
    auto& positions = list.FixTrennPositionen;
    if (list.FixTrennAnzahl < BoundarySlotCount) {
        positions[static_cast<std::size_t>(list.FixTrennAnzahl++)] = static_cast<std::int16_t>(Column);
        return;
    }
    if (std::find(positions.begin(), positions.end(), FreeSlot) == positions.end())
        return;  // 100 boundaries
    list.FixTrennAnzahl = TrennposVerdichten(positions, HighSlot);
    positions[static_cast<std::size_t>(list.FixTrennAnzahl++)] = static_cast<std::int16_t>(Column);
}

int TrennposEntfernen(ColumnBoundaryList& list, int Column)
{
    const int slot = TrennposSuchen(list, Column);
    if (slot >= 0)
        list.FixTrennPositionen[static_cast<std::size_t>(slot)] = FreeSlot;
    return slot;
}

void TrennposLeereMarkieren(ColumnBoundaryList& list)
{
    std::replace(list.FixTrennPositionen.begin(), list.FixTrennPositionen.end(), std::int16_t(0), FreeSlot);
}

void TrennposFreiAufNull(ColumnBoundaryList& list)
{
    std::replace(list.FixTrennPositionen.begin(), list.FixTrennPositionen.end(), FreeSlot, std::int16_t(0));
}

int TrennposVerdichten(BoundarySlots& List, int High)
{
    const int last = std::min(High, HighSlot);
    int count = 0;
    for (int slot = 0; slot <= last; ++slot) {
        if (List[static_cast<std::size_t>(slot)] != FreeSlot)
            List[static_cast<std::size_t>(count++)] = List[static_cast<std::size_t>(slot)];
    }
    for (int slot = count; slot <= last; ++slot)
        List[static_cast<std::size_t>(slot)] = FreeSlot;
    return count;
}

void TrennposTauschen(BoundarySlots& List, int /*High*/, int I, int J)
{
    std::swap(List.at(static_cast<std::size_t>(I)), List.at(static_cast<std::size_t>(J)));
}

void TrennposSortieren(BoundarySlots& List, int High, int Lo, int Hi)
{
    if (Lo >= Hi)
        return;
    TrennposTauschen(List, High, Lo, (Lo + Hi) / 2);
    int last = Lo;
    for (int i = Lo + 1; i <= Hi; ++i) {
        if (List[static_cast<std::size_t>(i)] < List[static_cast<std::size_t>(Lo)])
            TrennposTauschen(List, High, ++last, i);
    }
    TrennposTauschen(List, High, Lo, last);
    TrennposSortieren(List, High, Lo, last - 1);
    TrennposSortieren(List, High, last + 1, Hi);
}

int ErsteTrennpos(const ColumnBoundaryList& list)
{
    for (int slot = 0; slot < BoundarySlotCount; ++slot) {
        if (list.FixTrennPositionen[static_cast<std::size_t>(slot)] >= 1)
            return slot;
    }
    return -1;
}

// ---- the character grid ----

void PrepareMarking(ColumnBoundaryList& list)
{
    // The marks added next are appended at the count, and the ones there must stay findable: after a split the
    // zeros stand in front of the boundaries.
    for (std::int16_t& value : list.FixTrennPositionen) {
        if (value < 1)
            value = FreeSlot;
    }
    list.FixTrennAnzahl = TrennposVerdichten(list.FixTrennPositionen, HighSlot);
}

QStringList CharacterGridLines(const QString& text)
{
    // Only the end of the text is trimmed: blanks leading the first line are characters of its first field, and
    // dropping them would shift that row against the others and against the file.
    QString trimmed = rtl::TrimRight(text);
    trimmed.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    trimmed.replace(u'\r', u'\n');
    QStringList lines = trimmed.split(u'\n');
    if (lines.size() > CharacterGridLineCount)
        lines.resize(CharacterGridLineCount);
    return lines;
}

// ---- splitting ----

int PrepareSplit(ColumnBoundaryList& list)
{
    TrennposFreiAufNull(list);
    list.FixTrennAnzahl = TrennposVerdichten(list.FixTrennPositionen, HighSlot);
    TrennposSortieren(list.FixTrennPositionen, HighSlot, 0, HighSlot);
    return ErsteTrennpos(list);
}

QStringList CutLine(const QString& line, const BoundarySlots& positions, int first, bool dosToWin)
{
    QStringList fields;
    if (first < 0)
        return fields;
    fields.reserve(BoundarySlotCount - first + 1);
    const QStringView view(line);
    const qsizetype size = view.size();
    qsizetype from = 0;
    const auto take = [&](qsizetype to) {
        const qsizetype start = std::min(from, size);
        const qsizetype end = std::clamp(to, start, size);
        const QString field = trimmed(view.sliced(start, end - start));
        fields << (dosToWin ? OemToAnsiStr(field) : field);
    };
    for (int slot = first; slot < BoundarySlotCount; ++slot) {
        const qsizetype boundary = positions[static_cast<std::size_t>(slot)];
        take(boundary);
        from = std::max(from, boundary);
    }
    take(size);
    return fields;
}

std::vector<QStringList> ReadFixedWidthPreview(const QString& path, const BoundarySlots& positions, int first,
                                               bool dosToWin, int maxLines)
{
    std::vector<QStringList> rows;
    TextLineReader reader(path, dosToWin);
    const bool convert = dosToWin && reader.encoding() == TextEncoding::Ansi;
    QString line;
    while (static_cast<int>(rows.size()) < maxLines && reader.readLine(line))
        rows.push_back(CutLine(line, positions, first, convert));
    return rows;
}

EColumnWithoutName::EColumnWithoutName()
    : std::runtime_error(texts::Text(64917).toStdString()), message_(texts::Text(64917))
{
}

namespace {

// CutLine on the bytes of a file read one byte a character, without its conversion: every field, trimmed of the
// bytes up to the blank (the characters up to the blank in Windows-1252), goes to put(index, bytes).
template <class Put>
void cutBytes(const QByteArray& line, const BoundarySlots& positions, int first, Put&& put)
{
    if (first < 0)
        return;
    const qsizetype size = line.size();
    const auto* data = reinterpret_cast<const unsigned char*>(line.constData());
    qsizetype from = 0;
    int field = 0;
    const auto take = [&](qsizetype to) {
        qsizetype start = std::min(from, size);
        qsizetype end = std::clamp(to, start, size);
        while (start < end && data[start] <= 32)
            ++start;
        while (end > start && data[end - 1] <= 32)
            --end;
        put(field++, QByteArrayView(line.constData() + start, end - start));
    };
    for (int slot = first; slot < BoundarySlotCount; ++slot) {
        const qsizetype boundary = positions[static_cast<std::size_t>(slot)];
        take(boundary);
        from = std::max(from, boundary);
    }
    take(size);
}

}  // namespace

TextReadResult ReadFixedWidthFile(const QString& path, db::Table& staging, StagedRecords& staged,
                                  const BoundarySlots& positions, int first, bool firstLineHoldsNames, bool dosToWin,
                                  TextReadProgress& progress)
{
    TextLineReader reader(path, dosToWin);
    // A file read one byte a character is cut as its bytes, which the staging takes as they are.
    const bool asBytes = reader.decideEncoding() == TextEncoding::Ansi;
    // A file that says it is Unicode holds no DOS bytes to convert.
    StagingFiller filler(staging, staged, dosToWin && asBytes);
    if (first >= 0 && filler.fieldCount() < BoundarySlotCount - first + 1) {
        filler.finish();
        throw EColumnWithoutName();
    }
    progress.readingStarts();
    if (asBytes) {
        QByteArray line;
        if (firstLineHoldsNames)
            reader.readLine(line);
        while (!progress.cancelled() && reader.readLine(line)) {
            filler.append();
            cutBytes(line, positions, first, [&](int field, QByteArrayView value) { filler.setBytes(field, value); });
            progress.recordRead();
        }
    } else {
        QString line;
        if (firstLineHoldsNames)
            reader.readLine(line);
        while (!progress.cancelled() && reader.readLine(line)) {
            filler.append();
            const QStringList values = CutLine(line, positions, first, false);
            for (qsizetype i = 0; i < values.size(); ++i)
                filler.set(static_cast<int>(i), values[i]);
            progress.recordRead();
        }
    }
    filler.finish();
    progress.showNow();
    if (filler.result().cutValues > 0 || filler.result().replacedCharacters > 0)
        progress.valuesChanged(filler.result());
    return filler.result();
}

// ---- the stored form ----

QString FixBreakText(const ColumnBoundaryList& list)
{
    QString text;
    text.reserve(BoundarySlotCount * 4);
    for (std::int16_t value : list.FixTrennPositionen) {
        text += QString::number(value);
        text += u';';
    }
    return text;
}

void FixBreakLesen(const QString& text, ColumnBoundaryList& list)
{
    ColumnBoundaryList loaded;
    int stored = 0;
    QString collected;
    for (QChar ch : text) {
        if (ch != u';') {
            collected += ch;
            continue;
        }
        const std::int32_t value = rtl::StrToInt(collected);
        collected.clear();
        if (value == 0)
            continue;
        if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max() ||
            stored >= BoundarySlotCount)
            throw ERangeError();
        loaded.FixTrennPositionen[static_cast<std::size_t>(stored++)] = static_cast<std::int16_t>(value);
    }
    loaded.FixTrennAnzahl = stored;
    loaded.FixTrennDragIndex = list.FixTrennDragIndex;
    list = loaded;
}

}  // namespace engine
