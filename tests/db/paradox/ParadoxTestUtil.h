#pragma once

#include "db/EngineError.h"
#include "db/TableStorage.h"
#include "support/FieldDefs.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVariant>
#include <gtest/gtest.h>

namespace paradoxtest {

using testsupport::def;

inline int fieldIndex(const db::TableStorage& table, const QString& name)
{
    const auto& fields = table.fields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name == name) return int(i);
    ADD_FAILURE() << "no field " << name.toStdString();
    return 0;
}

// Compares a read value with an expectation; doubles within a small tolerance, everything else exactly.
inline ::testing::AssertionResult sameValue(const QVariant& actual, const QVariant& expected)
{
    if (!expected.isValid()) {
        if (!actual.isValid()) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "expected null, got " << actual.toString().toStdString();
    }
    if (!actual.isValid()) return ::testing::AssertionFailure() << "expected " << expected.toString().toStdString()
                                                                << ", got null";
    if (expected.typeId() == QMetaType::Double) {
        if (actual.typeId() == QMetaType::Double && std::abs(actual.toDouble() - expected.toDouble()) < 1e-9)
            return ::testing::AssertionSuccess();
    } else if (actual.typeId() == expected.typeId() && actual == expected) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "expected " << expected.typeName() << " "
                                         << expected.toString().toStdString() << ", got " << actual.typeName() << " "
                                         << actual.toString().toStdString();
}

template <class F>
int engineErrorCode(F&& f)
{
    try {
        f();
    } catch (const db::EngineError& e) {
        return e.code();
    }
    return 0;
}

}  // namespace paradoxtest
