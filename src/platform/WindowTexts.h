#pragma once

#include <QString>
#include <utility>
#include <vector>

class QWidget;

// The texts a window shows, addressed the way the language modules carry them: the window's caption under its
// class name ("TfrmImport1"), a control's caption under class and object name ("TfrmImport1.btnWeiter1"), its hint
// under ".toolTip" and the fixed items of a list under their index ("TfrmImport1.comDelimiter.0").
namespace platform {

struct WindowTextEntry {
    QString key;
    QString text;
};

// Controls whose text comes from data or is a name (the product title, a file name, an address) are marked so and
// are neither collected nor translated; a window whose caption is such a text is marked with the caption property.
inline constexpr const char* kUntranslated = "untranslated";
inline constexpr const char* kUntranslatedCaption = "untranslatedCaption";
void MarkUntranslated(QWidget* widget);

// Every such text of the window as it stands now.
std::vector<WindowTextEntry> CollectWindowTexts(QWidget* window);

// Puts the module's texts into the window (call it once, right after the window's controls are made, before
// anything fills them from data), and names the window's controls for screen readers by what a person reads
// (NameAccessibly).
void TranslateWindow(QWidget* window);

}  // namespace platform
