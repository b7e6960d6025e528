// Writes a language module's settings record ("_QVT_LIBSETTINGS") for the build: the program's version, and the
// module's language id, name and native name.
//     MakeSettingsRecord <output file> <language id> <language name> <native name>
#include "platform/LocUtils.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: MakeSettingsRecord <output file> <language id> <language name> <native name>\n");
        return 2;
    }
    bool ok = false;
    const ushort languageId = args[2].toUShort(&ok);
    QFile out(args[1]);
    if (!ok || !out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "MakeSettingsRecord: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    out.write(platform::MakeSettingsRecord("LDLL", platform::kSettingsVersion, languageId, args[3], args[4], 1));
    return out.error() == QFile::NoError ? 0 : 1;
}
