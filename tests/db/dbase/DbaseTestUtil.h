#pragma once

#include "db/EngineError.h"
#include "db/FieldType.h"
#include "db/TableStorage.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <gtest/gtest.h>
#include <cmath>

namespace dbasetest {

inline std::string show(const QVariant& v)
{
    if (!v.isValid())
        return "<null>";
    return (QString::fromLatin1(v.typeName()) + QStringLiteral(":") + v.toString()).toStdString();
}

// Values compare by kind; floating values to the 14th significant digit.
inline ::testing::AssertionResult sameValue(const QVariant& actual, const QVariant& expected)
{
    if (!expected.isValid()) {
        if (!actual.isValid())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "expected null, got " << show(actual);
    }
    if (!actual.isValid())
        return ::testing::AssertionFailure() << "expected " << show(expected) << ", got null";
    if (expected.typeId() == QMetaType::Double) {
        if (actual.typeId() != QMetaType::Double)
            return ::testing::AssertionFailure() << "expected a double " << show(expected) << ", got " << show(actual);
        const double a = actual.toDouble();
        const double e = expected.toDouble();
        if (std::fabs(a - e) <= 1e-12 * std::max(1.0, std::fabs(e)))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "expected " << show(expected) << ", got " << show(actual);
    }
    if (actual.typeId() != expected.typeId() || actual != expected)
        return ::testing::AssertionFailure() << "expected " << show(expected) << ", got " << show(actual);
    return ::testing::AssertionSuccess();
}

inline int fieldIndex(const db::TableStorage& t, const QString& name)
{
    const auto& fields = t.fields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

}  // namespace dbasetest
