#pragma once

// The table a writer that may be killed at any moment works on, and the sequence of changes it makes: shared by the
// writer process and the test that kills it, so that the test knows the table after every change without being
// told. The choices come from a seeded generator and the current records only.

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <vector>

namespace killtest {

struct Row {
    int id = 0;
    QString name;
    int amount = 0;
    QString memo;  // empty: blank

    friend bool operator==(const Row&, const Row&) = default;
};

// A record is whole when its check field holds this digest of the others (hex, 16 digits).
inline QString checksum(const Row& row)
{
    const QByteArray bytes =
        (QString::number(row.id) + QLatin1Char('|') + row.name + QLatin1Char('|') + QString::number(row.amount) +
         QLatin1Char('|') + row.memo)
            .toUtf8();
    std::uint64_t h = 1469598103934665603ULL;
    for (const char c : bytes) {
        h ^= std::uint8_t(c);
        h *= 1099511628211ULL;
    }
    return QStringLiteral("%1").arg(h, 16, 16, QLatin1Char('0'));
}

struct Op {
    enum Kind { Append, Update, Delete } kind = Append;
    int position = 0;  // row before the change (update, delete) or after it (append)
    Row row;           // the new contents (append, update), the removed record (delete)
};

// Field layout: Nr (long, the key of the keyed table), Name (alpha 40), Betrag (long), [Notiz (memo 10)], Pruef.
class Model {
public:
    Model(bool keyed, std::vector<Row> rows) : keyed_(keyed), rows_(std::move(rows))
    {
        for (const Row& r : rows_) {
            used_.insert(r.id);
            nextId_ = std::max(nextId_, r.id + 1);
        }
    }

    const std::vector<Row>& rows() const { return rows_; }
    bool keyed() const { return keyed_; }

    // Chooses the next change and applies it to the model. Deletes only hit records added since the model was
    // built, so the records the writer found all survive; updates may hit any record.
    Op next(std::mt19937_64& random)
    {
        Op op;
        const int dice = int(random() % 10);
        if (dice >= 8 && !added_.empty()) {
            auto it = added_.begin();
            std::advance(it, long(random() % added_.size()));
            op.kind = Op::Delete;
            op.position = positionOf(*it);
            op.row = rows_[size_t(op.position)];
            used_.erase(*it);
            added_.erase(it);
            rows_.erase(rows_.begin() + op.position);
            return op;
        }
        if (dice >= 6 && !rows_.empty()) {
            op.kind = Op::Update;
            op.position = int(random() % rows_.size());
            op.row = contents(rows_[size_t(op.position)].id, random);
            rows_[size_t(op.position)] = op.row;
            return op;
        }
        op.kind = Op::Append;
        int id = 0;
        if (keyed_) {
            do {
                id = 1 + int(random() % 999999);
            } while (used_.count(id));
        } else {
            id = nextId_++;
        }
        used_.insert(id);
        added_.insert(id);
        op.row = contents(id, random);
        op.position = keyed_ ? int(std::lower_bound(rows_.begin(), rows_.end(), id,
                                                    [](const Row& r, int key) { return r.id < key; }) -
                                   rows_.begin())
                             : int(rows_.size());
        rows_.insert(rows_.begin() + op.position, op.row);
        return op;
    }

private:
    int positionOf(int id) const
    {
        for (size_t i = 0; i < rows_.size(); ++i)
            if (rows_[i].id == id) return int(i);
        return -1;
    }

    Row contents(int id, std::mt19937_64& random) const
    {
        static const QString names[] = {QStringLiteral("Müller"), QStringLiteral("Schäfer"), QStringLiteral("Groß"),
                                        QStringLiteral("Weiß"), QStringLiteral("Öztürk"), QStringLiteral("Zimmermann")};
        Row row;
        row.id = id;
        row.name = QStringLiteral("%1 %2").arg(names[random() % std::size(names)]).arg(random() % 100000);
        row.amount = int(random() % 2000001) - 1000000;
        if (keyed_) {
            // Blank, inside the record, in a shared memo block, and in blocks of their own.
            static const int lengths[] = {0, 4, 10, 11, 300, 2048, 2049, 7000};
            const int length = lengths[random() % std::size(lengths)];
            const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyzäöüß ABCDEFGHIJ0123456789");
            const int start = int(random() % alphabet.size());
            for (int i = 0; i < length; ++i) row.memo += alphabet.at((start + i * 7) % alphabet.size());
        }
        return row;
    }

    bool keyed_;
    std::vector<Row> rows_;
    std::set<int> used_;
    std::set<int> added_;
    int nextId_ = 1;
};

}  // namespace killtest
