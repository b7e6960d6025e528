// A text as a screen reader should say it: what a person reads, not how the text is broken or marked.
#include "platform/AccessibleNames.h"

#include <gtest/gtest.h>

TEST(AccessibleNames, ATextIsReadAsOneSentenceWithoutItsMarks)
{
    struct Case {
        const char* name;
        const char* text;
        const char* read;
    };
    const Case cases[] = {
        {"access key", "&Hilfe", "Hilfe"},
        {"an ampersand meant", "Schulze && Söhne", "Schulze & Söhne"},
        {"a word broken at a line's end", "den Namen der Daten-\nbank ein", "den Namen der Datenbank ein"},
        {"a word broken over Windows lines", "Quell-\r\ndatei", "Quelldatei"},
        {"lines joined by a blank", "vorhandene\nDatensätze werden", "vorhandene Datensätze werden"},
        {"a hyphen that belongs to a name", "Velmora-\nWendamo: Adressdatei", "Velmora-Wendamo: Adressdatei"},
        {"a hyphen within a line", "Quell- und Zieldatei", "Quell- und Zieldatei"},
        {"blanks of the layout", "  Zieldatei  &leeren: ", "Zieldatei leeren:"},
        {"rich text", "<b>Fett</b> und <i>kursiv</i>", "Fett und kursiv"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::ReadText(QString::fromUtf8(c.text)).toStdString(), c.read);
    }
}
