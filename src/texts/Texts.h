#pragma once

#include <QString>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>

// The program texts: every message and caption that a language module may replace, addressed by its number.
//
// Text(id) asks the active language module first and falls back to the program's own German text. A number that
// neither knows is a programming error; it yields the visible marker "[Text <id>]" (and a warning on the debug
// output) rather than an empty string, so that a wrong number shows up at once in a window or a test instead of
// as a silently blank message.
//
// Texts that carry a placeholder keep the classic notation ("%s", "%d"); the caller fills it in. A text never
// ends with a line break: where a message puts empty lines after a text, the caller adds them.
namespace texts {

struct Entry {
    int id;
    const char* text;  // UTF-8
};

// The text in force for id: the language module's, otherwise the German one, otherwise the marker.
QString Text(int id);

// Fills the "%s" places of a text in order with values; what is filled in is not searched again, and places
// left over stay as they are.
QString Format(const QString& pattern, std::initializer_list<QString> values);

// The program's own German text, whatever module is active; empty when the number is unknown.
QString GermanText(int id);

// True when the program's own table holds id.
bool HasText(int id);

// The marker Text() gives for an unknown number.
QString MissingTextMarker(int id);

// The German table, sorted by number.
std::span<const Entry> GermanTable();

// Texts beyond the reference list of program texts take numbers from this range, well apart from the list's own
// (64912 to 65295), so that neither a language module nor a later text of the list can mean another text by them.
constexpr int FirstAddedText = 61300;
constexpr int LastAddedText = 61999;
constexpr bool IsAddedText(int id)
{
    return id >= FirstAddedText && id <= LastAddedText;
}

// The active language module's lookup: returns the module's text for id, or nothing when the module has none (the
// German text is then used). An empty function switches back to the program's own texts.
using LanguageLookup = std::function<std::optional<QString>(int id)>;
void SetLanguageLookup(LanguageLookup lookup);

// Installs a lookup for the life of the object and puts the previous one back afterwards.
class ScopedLanguageLookup {
public:
    explicit ScopedLanguageLookup(LanguageLookup lookup);
    ~ScopedLanguageLookup();
    ScopedLanguageLookup(const ScopedLanguageLookup&) = delete;
    ScopedLanguageLookup& operator=(const ScopedLanguageLookup&) = delete;

private:
    LanguageLookup previous_;
};

}  // namespace texts
