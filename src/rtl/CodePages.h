#pragma once

#include <QByteArray>
#include <QString>

// The single-byte code pages of the program: Windows-1252 ("ANSI", what the program's own texts and files use),
// 850 ("OEM", files written under DOS) and 437 (named by some table headers). Both directions are exact
// 256-entry tables.
namespace rtl {

enum class CodePage { Windows1252 = 1252, Oem850 = 850, Oem437 = 437 };

QString decode(const QByteArray& bytes, CodePage cp);
// Characters the code page cannot hold become '?'.
QByteArray encode(const QString& text, CodePage cp);
// encode() into out, reusing its memory when nobody shares it.
void encodeInto(const QString& text, CodePage cp, QByteArray& out);
// encode() into out, which has room for text.size() bytes (never more are needed); returns how many it wrote.
qsizetype encodeTo(const QString& text, CodePage cp, char* out);
// The leading characters of in (at most n) that are below 0x80, and not zero when zeroEnds, as their bytes into out:
// every code page here keeps them as they are. Returns how many it took; the caller goes on from the first other.
qsizetype narrowPlain(const char16_t* in, qsizetype n, char* out, bool zeroEnds);
// True when every character of text has a byte in the code page.
bool canEncode(const QString& text, CodePage cp);

// Byte to character and back for one code page. Every byte has a character.
char16_t toUnicode(unsigned char byte, CodePage cp);
int toByte(char16_t ch, CodePage cp);  // -1 when the code page has no byte for ch

// The platform's OEM to ANSI conversion of a text read as ANSI: each character is taken as its 1252 byte, that
// byte is read as an 850 character, and the result is that character (a 1252 text again). Characters without a
// 1252 equivalent become '?'.
QString OemToAnsi(const QString& text);
QString AnsiToOem(const QString& text);

}  // namespace rtl
