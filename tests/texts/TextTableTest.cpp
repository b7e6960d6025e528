#include "support/TestSupport.h"
#include "texts/Texts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>


// The German table is checked against the reference text list: a document that quotes each program text after its
// number, e.g.  text 64930 "Beim Umbenennen ... Fehler" CRLF "aufgetreten. ..."  . Most quotations follow that
// form (pieces joined by CRLF or CR LF, line breaks inside a piece written \r\n); the few that describe their text
// in words are listed below with the wording they describe.
namespace {

// The reference list is every Markdown document of the shared project folder, read in path order.
QString readReference()
{
    QStringList paths;
    QDirIterator it(QStringLiteral(IMPORT_SHARED_DIR), {QStringLiteral("*.md")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    paths.sort();
    QString all;
    for (const QString& path : paths) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            all += QString::fromUtf8(file.readAll()) + u'\n';
    }
    return all;
}

// One quoted piece starting at the opening quote at `from`. Quotes inside a piece come in pairs: an inner opening
// quote follows a blank (or a written line break) and is followed by a letter, digit or "%"; every other quote at
// the outer level closes the piece. Written \r\n become CR LF. Returns the text and the index after the closing
// quote, or nothing when the line ends first.
std::optional<std::pair<QString, qsizetype>> quotedPiece(const QString& doc, qsizetype from)
{
    QString out;
    bool inner = false;
    for (qsizetype i = from + 1; i < doc.size(); ++i) {
        const QChar c = doc[i];
        if (c == u'\n')
            return std::nullopt;
        if (doc.mid(i, 4) == QLatin1String("\\r\\n")) {
            out += QLatin1String("\r\n");
            i += 3;
            continue;
        }
        if (c != u'"') {
            out += c;
            continue;
        }
        const bool afterBlank = i == from + 1 || doc[i - 1] == u' ' || doc.mid(i - 2, 2) == QLatin1String("\\n");
        const QChar next = i + 1 < doc.size() ? doc[i + 1] : QChar(u'\n');
        if (inner || (afterBlank && (next.isLetterOrNumber() || next == u'%'))) {
            inner = !inner;
            out += c;
            continue;
        }
        return std::make_pair(out, i + 1);
    }
    return std::nullopt;
}

// A quotation in the regular form starting at the opening quote: pieces joined by one or more CRLF / CR LF.
// Breaks after the last piece belong to the surrounding message, not to the text.
std::optional<QString> regularQuotation(const QString& doc, qsizetype from)
{
    static const QRegularExpression joint(QStringLiteral(R"(\G((?: (?:CRLF|CR LF))+) ")"));
    auto piece = quotedPiece(doc, from);
    if (!piece)
        return std::nullopt;
    QString text = piece->first;
    qsizetype at = piece->second;
    for (;;) {
        const QRegularExpressionMatch m = joint.match(doc, at, QRegularExpression::NormalMatch,
                                                      QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch())
            break;
        const int breaks = static_cast<int>(m.captured(1).count(QLatin1String("LF")));
        piece = quotedPiece(doc, m.capturedEnd() - 1);
        if (!piece)
            return std::nullopt;
        text += QStringLiteral("\r\n").repeated(breaks) + piece->first;
        at = piece->second;
    }
    return text;
}

struct DescribedText {
    int id;
    const char* passage;  // verbatim from the reference list
    const char* wording;  // the text it describes
};

// Quotations that describe their text in words (lines listed one by one, empty lines, a placeholder in place of a
// line, a stray double quote) and one text whose wording is ours to choose.
const DescribedText kDescribed[] = {
    {64916,
     R"~(text 64916 in a notice box (OK), lines joined by CR LF: "Bitte wählen Sie, ob die Länge der zu importierenden", "Zeichenketten fest oder variabel sein soll.", empty line, "Hinweis:", "Wählen Sie "Variable Datensatzlänge", wenn die", "Zeichenketten durch ein bestimmtes Zeichen,", "(Semikolon, Komma...) getrennt werden sollen.")~",
     "Bitte wählen Sie, ob die Länge der zu importierenden\r\nZeichenketten fest oder variabel sein soll.\r\n\r\n"
     "Hinweis:\r\nWählen Sie \"Variable Datensatzlänge\", wenn die\r\nZeichenketten durch ein bestimmtes Zeichen,\r\n"
     "(Semikolon, Komma...) getrennt werden sollen."},
    {64943,
     R"~(text 64943 "Die automatische Werterhöhung eines Datenbankfeldes vom Typ" CRLF a double quote + "%s" + a double quote CRLF "ist derzeit leider nicht möglich.")~",
     "Die automatische Werterhöhung eines Datenbankfeldes vom Typ\r\n\"%s\"\r\nist derzeit leider nicht möglich."},
    {64990,
     R"~(text 64990 "Die automatische Werterhöhung eines Datenbankfeldes vom Typ" CRLF, then the placeholder %s between two double quotes, CRLF "ist derzeit leider nicht möglich.")~",
     "Die automatische Werterhöhung eines Datenbankfeldes vom Typ\r\n\"%s\"\r\nist derzeit leider nicht möglich."},
    {64961,
     R"~(text 64961 with the physical line in place of %s: "Die folgende Zeile verursachte einen Fehler:", empty line, the line, empty line, "Prüfen Sie, ob die Zeile so aufgebaut ist, wie dies in der ersten Zeile der Datei festgelegt wurde." (lines joined by CR LF)~",
     "Die folgende Zeile verursachte einen Fehler:\r\n\r\n%s\r\n\r\n"
     "Prüfen Sie, ob die Zeile so aufgebaut ist, wie dies in der ersten Zeile der Datei festgelegt wurde."},
    {64962,
     R"~(text 64962 with the physical line in place of %s: "Die folgende Textzeile ist fehlerhaft:", empty line, the line, empty line, "Soll die Zeile ignoriert werden?", empty line, "(Ja= Zeile ignorieren", " Nein= Zeile einlesen", " Abbruch= Import abbrechen/restliche Zeilen ignorieren", " alle ja= alle fehlerhaften Zeilen ignorieren" (lines joined by CR LF)~",
     "Die folgende Textzeile ist fehlerhaft:\r\n\r\n%s\r\n\r\nSoll die Zeile ignoriert werden?\r\n\r\n"
     "(Ja= Zeile ignorieren\r\n Nein= Zeile einlesen\r\n Abbruch= Import abbrechen/restliche Zeilen ignorieren\r\n"
     " alle ja= alle fehlerhaften Zeilen ignorieren"},
    // The list leaves this wording open; it follows its twin for the source file, 64966.
    {64967, R"~(text 64967 (the request to enter the folder path and file name of the target))~",
     "Bitte geben Sie den Verzeichnispfad und den Dateinamen der Zieldatei ein."},
    {64972,
     R"~(text 64972 "Quell- und Zieldatenbank sind identisch!", a blank line, "Bitte korrigieren Sie Ihre Eingaben.")~",
     "Quell- und Zieldatenbank sind identisch!\r\n\r\nBitte korrigieren Sie Ihre Eingaben."},
    {64977, R"~(text 64977 ("existierte. Neue Bezeichnung: " and then one double quote character))~",
     "existierte. Neue Bezeichnung: \""},
    {64978,
     R"~(text 64978 with the buttons Yes and No; the text is "Beim Einlesen vordefinierter Importeinstellungen sind Fehler aufgetreten.", CR LF CR LF, "Möchten Sie eine Liste dieser Fehler sehen?")~",
     "Beim Einlesen vordefinierter Importeinstellungen sind Fehler aufgetreten.\r\n\r\n"
     "Möchten Sie eine Liste dieser Fehler sehen?"},
    {64979,
     R"~(text 64979 formatted with the base path, OK button, stop. Its three lines, joined by CR LF: "Die Importeinstellungsdatei %s.DB", "ist nicht gefunden worden.", "Es kann keine Kopie erstellt werden.")~",
     "Die Importeinstellungsdatei %s.DB\r\nist nicht gefunden worden.\r\nEs kann keine Kopie erstellt werden."},
    {64982,
     R"~(Text 64982 has four lines joined by CR LF: "Die Importeinstellungsdatei %s.DB bzw. .MB" and then one double quote character; "ist nicht gefunden worden."; "Die Importeinstellung "%s"" (the inner double quotes belong to the text); "kann nicht ausgeführt werden.")~",
     "Die Importeinstellungsdatei %s.DB bzw. .MB\"\r\nist nicht gefunden worden.\r\nDie Importeinstellung \"%s\"\r\n"
     "kann nicht ausgeführt werden."},
    {64986,
     R"~(Text 64986 has four lines joined by CR LF: "Die gewählte Zieldatei %s", "wird momentan von einem anderen Programm bereits verwendet!", "Sie (bzw. beim Netzwerkeinsatz der/die andere Anwender) sollten " (with the trailing blank), "das Programm beenden, um die Datei freizugeben!")~",
     "Die gewählte Zieldatei %s\r\nwird momentan von einem anderen Programm bereits verwendet!\r\n"
     "Sie (bzw. beim Netzwerkeinsatz der/die andere Anwender) sollten \r\n"
     "das Programm beenden, um die Datei freizugeben!"},
    {65194,
     R"~(text 65194 ("Möglicherweise können Sie die Importeinstellung "%s" nicht ausführen" and then one double quote character)~",
     "Möglicherweise können Sie die Importeinstellung \"%s\" nicht ausführen\""},
};

class TextTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc_ = readReference();
        if (doc_.isEmpty())
            GTEST_SKIP() << "reference text list not found below " << IMPORT_SHARED_DIR;
    }
    QString doc_;
};

TEST_F(TextTable, MatchesEveryQuotationOfTheReferenceList)
{
    struct Span {
        int id;
        qsizetype begin, end;
    };
    std::vector<Span> describedSpans;
    QSet<int> quoted;

    for (const DescribedText& d : kDescribed) {
        SCOPED_TRACE(d.id);
        const QString passage = QString::fromUtf8(d.passage);
        const QString wording = QString::fromUtf8(d.wording);
        const qsizetype at = doc_.indexOf(passage);
        ASSERT_GE(at, 0) << "passage not in the reference list: " << d.passage;
        describedSpans.push_back({d.id, at, at + passage.size()});
        quoted.insert(d.id);
        EXPECT_EQ(texts::GermanText(d.id), wording);
        // Every piece the passage quotes must stand in the wording, in the passage's order.
        qsizetype inWording = 0;
        for (qsizetype q = passage.indexOf(u'"'); q >= 0;) {
            const auto piece = quotedPiece(passage, q);
            ASSERT_TRUE(piece.has_value());
            const qsizetype found = wording.indexOf(piece->first, inWording);
            EXPECT_GE(found, 0) << "piece missing or out of order: " << piece->first.toStdString();
            inWording = found < 0 ? inWording : found + piece->first.size();
            q = passage.indexOf(u'"', piece->second);
        }
    }

    static const QRegularExpression numbered(QStringLiteral(R"(\b(\d{5}) (?:is )?")"));
    int regular = 0;
    for (auto it = numbered.globalMatch(doc_); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const int id = m.captured(1).toInt();
        const qsizetype at = m.capturedStart();
        const bool described = std::any_of(describedSpans.begin(), describedSpans.end(), [&](const Span& s) {
            return s.id == id && at >= s.begin && at < s.end;
        });
        if (described)
            continue;
        const int line = static_cast<int>(doc_.left(at).count(u'\n')) + 1;
        SCOPED_TRACE(QStringLiteral("text %1 on line %2").arg(id).arg(line).toStdString());
        const std::optional<QString> wording = regularQuotation(doc_, m.capturedEnd() - 1);
        ASSERT_TRUE(wording.has_value());
        ASSERT_TRUE(texts::HasText(id));
        EXPECT_EQ(texts::GermanText(id), *wording);
        quoted.insert(id);
        ++regular;
    }
    // Guards against a change of notation that would make the scan find nothing to compare.
    EXPECT_GT(regular, 200);

    for (const texts::Entry& entry : texts::GermanTable()) {
        if (texts::IsAddedText(entry.id))
            EXPECT_FALSE(quoted.contains(entry.id)) << "text " << entry.id << " is a number of the reference list";
        else
            EXPECT_TRUE(quoted.contains(entry.id)) << "text " << entry.id << " is quoted nowhere";
    }
}

TEST(TextLookup, LanguageModuleFirstThenGermanThenMarker)
{
    const QString german = texts::GermanText(65268);
    ASSERT_EQ(german, QStringLiteral("&Abbrechen"));

    struct Case {
        const char* name;
        texts::LanguageLookup lookup;
        int id;
        QString expected;
    };
    const auto englishCancelOnly = [](int id) -> std::optional<QString> {
        if (id == 65268)
            return QStringLiteral("&Cancel");
        if (id == 65269)
            return QString();  // a module may deliberately leave a text empty
        return std::nullopt;
    };
    const Case cases[] = {
        {"own texts", {}, 65268, german},
        {"module text wins", englishCancelOnly, 65268, QStringLiteral("&Cancel")},
        {"empty module text is kept", englishCancelOnly, 65269, QString()},
        {"module without the text falls back", englishCancelOnly, 65279, QStringLiteral("fertig.")},
        {"unknown number gives the marker", {}, 12345, QStringLiteral("[Text 12345]")},
        {"unknown to both gives the marker", englishCancelOnly, 99999, QStringLiteral("[Text 99999]")},
        {"module may supply a number we lack", [](int) { return std::optional<QString>(QStringLiteral("x")); },
         12345, QStringLiteral("x")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        texts::ScopedLanguageLookup scoped(c.lookup);
        EXPECT_EQ(texts::Text(c.id), c.expected);
    }
    EXPECT_EQ(texts::Text(65268), german) << "the scoped lookup must be gone";
    EXPECT_TRUE(texts::GermanText(12345).isEmpty());
}

}  // namespace

TEST(TextFormat, FillsPlacesInOrderWithoutSearchingWhatWasFilledIn)
{
    EXPECT_EQ(texts::Format("Datei %s in %s", {"a%s", "b"}), "Datei a%s in b");
    EXPECT_EQ(texts::Format("nur %s", {"eins", "zwei"}), "nur eins");
    EXPECT_EQ(texts::Format("%s und %s", {"x"}), "x und %s");
}
