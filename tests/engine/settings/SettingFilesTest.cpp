#include "WorkingFolder.h"

#include "db/DataSource.h"
#include "db/EngineError.h"
#include "db/Field.h"
#include "db/Table.h"
#include "db/paradox/ParadoxTable.h"
#include "engine/ImportSetting.h"
#include "engine/SettingFiles.h"
#include "engine/WorkingTables.h"
#include "support/TestSupport.h"
#include "texts/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/wait.h>
#include <unistd.h>

using db::FieldType;
using db::OpenMode;
using platform::Button;
using platform::MessageType;

namespace {

QByteArray contents(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QString fill(QString text, std::initializer_list<QString> values)
{
    for (const QString& v : values)
        text.replace(text.indexOf(QStringLiteral("%s")), 2, v);
    return text;
}

class SettingFiles : public WorkingFolder {
protected:
    void SetUp() override
    {
        WorkingFolder::SetUp();
        context.ImportEinstellungLoeschen = [this] { ++deleted; };
    }

    // Appends a setting to ImpList and returns its TableName as text.
    QString addSetting(const QString& name, bool eigene, const QString& vorDef = QString())
    {
        tblImpList->Open();
        tblImpList->Append();
        tblImpList->FieldByName("Bezeichnung")->setAsString(name);
        tblImpList->FieldByName("Eigene")->setAsBoolean(eigene);
        tblImpList->FieldByName("VorDefTableName")->setAsString(vorDef);
        tblImpList->Post();
        return tblImpList->FieldByName("TableName")->AsString();
    }

    // A mapping table with one row whose Feldname is marker, written under the given file name (".DB"); its memo
    // file comes with it.
    void writeMapping(const QString& file, const QString& marker)
    {
        db::paradox::create(file, engine::ZStruktFields(), 0);
        db::Table t;
        t.setTableName(file);
        t.Open();
        t.Append();
        t.FieldByName("Feldname")->setAsString(marker);
        t.FieldByName("Formel_num")->setAsString(marker + QStringLiteral(" * 2"));
        t.Post();
        t.Close();
    }

    // Feldname of the mapping's rows; closes the table again.
    QStringList mapping()
    {
        const QStringList rows = columnTexts(*tblZStrukt, "Feldname");
        tblZStrukt->Close();
        return rows;
    }

    int deleted = 0;
};

}  // namespace

TEST_F(SettingFiles, LoadingAnOwnSettingCopiesItsFilesOverTheMapping)
{
    writeMapping(path(engine::ZStruktFileName), "Alt");
    const QString base = addSetting("Kunden", true);
    writeMapping(path(base + ".DB"), "Gespeichert");
    addSetting("Artikel", true);  // the cursor stands elsewhere when the loading starts
    tblZStrukt->Open();

    EXPECT_TRUE(engine::ImportEinstellungLaden(context, *tblImpList, *tblZStrukt, "Kunden"));
    EXPECT_TRUE(tblZStrukt->Active());
    EXPECT_EQ(columnTexts(*tblZStrukt, "Feldname"), QStringList{"Gespeichert"});
    EXPECT_EQ(columnTexts(*tblZStrukt, "Formel_num"), QStringList{"Gespeichert * 2"});
    tblZStrukt->Close();
    EXPECT_EQ(contents(path("ZStrukt.DB")), contents(path(base + ".DB")));
    EXPECT_EQ(contents(path("ZStrukt.MB")), contents(path(base + ".MB")));
    EXPECT_TRUE(ui.events().empty());
}

TEST_F(SettingFiles, APredefinedSettingIsLoadedByItsVorDefTableNameInWhateverCaseItsFilesAre)
{
    struct Case {
        const char* name;
        const char* db;
        const char* mb;
    } const cases[] = {{"upper case", "_15.DB", "_15.MB"}, {"lower case", "_15.db", "_15.mb"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        SetUp();
        writeMapping(path(engine::ZStruktFileName), "Alt");
        const QString base = addSetting("Vordefiniert", false, "_15");
        writeMapping(path(base + ".DB"), "Eigene Datei");  // named by TableName: not this setting's
        writeMapping(path("_15.DB"), "Vorgabe");
        if (QString::fromUtf8(c.db) != "_15.DB") {
            QFile::rename(path("_15.DB"), path(c.db));
            QFile::rename(path("_15.MB"), path(c.mb));
        }
        EXPECT_TRUE(engine::ImportEinstellungLaden(context, *tblImpList, *tblZStrukt, "Vordefiniert"));
        EXPECT_EQ(mapping(), QStringList{"Vorgabe"});
        // The files replace ZStrukt's own instead of landing beside them in another case.
        EXPECT_EQ(filesIn(dir.path()).filter("zstrukt", Qt::CaseInsensitive),
                  (QStringList{"ZStrukt.DB", "ZStrukt.MB"}));
        EXPECT_TRUE(ui.events().empty());
        TearDown();
    }
}

TEST_F(SettingFiles, MissingSettingFilesAskWhetherToDeleteTheSetting)
{
    struct Case {
        const char* name;
        bool dbPresent;
        bool mbPresent;
        Button answer;
        int deletes;
    } const cases[] = {
        {"memo file missing, keep", true, false, Button::No, 0},
        {"memo file missing, delete", true, false, Button::Yes, 1},
        {"both missing, delete", false, false, Button::Yes, 1},
        {"table file missing, keep", false, true, Button::No, 0},
    };
    writeMapping(path(engine::ZStruktFileName), "Alt");
    const QString base = addSetting("Kunden \"neu\"", true);
    const QByteArray zstrukt = contents(path("ZStrukt.DB"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeMapping(path(base + ".DB"), "Gespeichert");
        if (!c.dbPresent)
            QFile::remove(path(base + ".DB"));
        if (!c.mbPresent)
            QFile::remove(path(base + ".MB"));
        deleted = 0;
        ui.clearRecord();
        ui.answer(c.answer);

        EXPECT_FALSE(engine::ImportEinstellungLaden(context, *tblImpList, *tblZStrukt, "Kunden \"neu\""));
        EXPECT_EQ(ui.beeps(), 1);
        ASSERT_EQ(ui.messages().size(), 1u);
        const platform::MessageRequest m = ui.messages()[0];
        EXPECT_EQ(m.type, MessageType::Error);
        EXPECT_EQ(m.buttons, platform::Buttons::YesNo);
        EXPECT_EQ(m.text, fill(texts::Text(64982), {path(base), "Kunden \"neu\""}) + "\r\n\r\n" + texts::Text(64983));
        EXPECT_TRUE(m.text.startsWith("Die Importeinstellungsdatei " + path(base) + ".DB bzw. .MB\"\r\n"));
        EXPECT_EQ(deleted, c.deletes);
        EXPECT_EQ(contents(path("ZStrukt.DB")), zstrukt);
    }
}

// A setting that does not lead to files of its own in the program folder is refused before anything is copied, and
// the question that would delete files is not asked.
TEST_F(SettingFiles, UnusableSettingsAreRefusedWithoutCopyingOrDeleting)
{
    struct Case {
        const char* name;
        const char* vorDef;
        const char* lookedUp;
    } const cases[] = {
        {"name not in the list", "_1", "Gibt es nicht"},
        {"base name in a subfolder", "sub/_1", nullptr},
        {"base name above the program folder", "../_1", nullptr},
        {"base name empty", "", nullptr},
        {"base name of the mapping table", "zstrukt", nullptr},
        {"base name of the settings list", "ImpList", nullptr},
    };
    writeMapping(path(engine::ZStruktFileName), "Alt");
    writeMapping(path("_1.DB"), "Fremd");
    QDir(dir.path()).mkdir("sub");
    writeMapping(path("sub/_1.DB"), "Fremd");
    const QByteArray zstrukt = contents(path("ZStrukt.DB"));
    const QStringList before = filesIn(dir.path());
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QStringLiteral("Einstellung %1").arg(++n);
        addSetting(name, false, QString::fromUtf8(c.vorDef));
        ui.clearRecord();
        ui.answer(Button::Ok);
        EXPECT_FALSE(engine::ImportEinstellungLaden(context, *tblImpList, *tblZStrukt,
                                                    c.lookedUp ? QString::fromUtf8(c.lookedUp) : name));
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].type, MessageType::Error);
        EXPECT_EQ(ui.messages()[0].buttons, platform::Buttons::Ok);
        EXPECT_EQ(ui.beeps(), 0);
        EXPECT_EQ(deleted, 0);
        EXPECT_EQ(contents(path("ZStrukt.DB")), zstrukt);
        EXPECT_EQ(filesIn(dir.path()), before);
    }
}

TEST_F(SettingFiles, ThePreviousMappingGoesToTempAsTmp)
{
    writeMapping(path(engine::ZStruktFileName), "Vorher");
    for (const bool tempExists : {false, true}) {
        SCOPED_TRACE(tempExists);
        tblZStrukt->Open();
        engine::ZuordnungTempKopieren(context, *tblZStrukt);
        EXPECT_FALSE(tblZStrukt->Active());
        EXPECT_EQ(filesIn(path("Temp")), (QStringList{"tmp.DB", "tmp.MB"}));
        EXPECT_EQ(contents(path("Temp/tmp.DB")), contents(path("ZStrukt.DB")));
        EXPECT_EQ(contents(path("Temp/tmp.MB")), contents(path("ZStrukt.MB")));
        writeMapping(path(engine::ZStruktFileName), "Nachher");  // the second round must overwrite
    }
    EXPECT_TRUE(ui.events().empty());
}

TEST_F(SettingFiles, MappingsToVanishedSourceFieldsAreResetToAFreshMapping)
{
    db::paradox::create(path("Quelle.DB"), {def("Nr", FieldType::ftInteger), def("Name", FieldType::ftString, 20)}, 0);
    struct Row {
        const char* feldname;
        const char* zuordnung;
    } const rows[] = {{"KdNr", "Nr"}, {"Kunde", "name"}, {"Wohnort", "Ort"}, {"Frei", ""}, {"Ort2", "Ort"}};
    tblZStrukt->Open();
    for (const Row& r : rows) {
        tblZStrukt->Append();
        tblZStrukt->FieldByName("Feldname")->setAsString(r.feldname);
        tblZStrukt->FieldByName("Zuordnung")->setAsString(r.zuordnung);
        for (const char* number :
             {"Div", "Mul", "Vorgabewert_num", "Quellwert_num", "Runden", "StringAuswahlBeg", "StringAuswahlEnd"})
            tblZStrukt->FieldByName(number)->setAsInteger(3);
        for (const char* text : {"Vorgabewert_alph", "Quellwert_alph", "Formel_alph", "Formel_num"})
            tblZStrukt->FieldByName(text)->setAsString("x");
        for (const char* flag : {"BedGleich", "BedKleiner", "BedGroesser", "BedLeer", "Ausrichtung_li",
                                 "Ueberl_abschneid_li", "Ueberl_abschneid_re"})
            tblZStrukt->FieldByName(flag)->setAsBoolean(true);
        tblZStrukt->FieldByName("Ausrichtung_re")->setAsBoolean(false);
        tblZStrukt->FieldByName("FeldAkt")->setAsBoolean(false);
        tblZStrukt->Post();
    }

    db::Table quelle;
    quelle.setTableName(path("Quelle.DB"));
    ui.answer(Button::Ok);
    engine::DelNoExistQFields(quelle, *tblZStrukt);  // not open: refused
    EXPECT_EQ(ui.messageTexts(), QStringList{"Fehler DelNoExistQFields(): tblQuelle nicht aktiv"});
    EXPECT_EQ(columnTexts(*tblZStrukt, "Zuordnung"), (QStringList{"Nr", "name", "Ort", "", "Ort"}));

    quelle.Open();
    engine::DelNoExistQFields(quelle, *tblZStrukt);
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(columnTexts(*tblZStrukt, "Zuordnung"), (QStringList{"Nr", "name", "", "", ""}));
    const bool reset[] = {false, false, true, false, true};
    for (const char* column : {"Div", "Mul", "Vorgabewert_num", "Quellwert_num", "Runden", "StringAuswahlBeg",
                               "StringAuswahlEnd", "Vorgabewert_alph", "Quellwert_alph", "Formel_alph", "Formel_num"}) {
        const QStringList values = columnTexts(*tblZStrukt, column);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(values[i].isEmpty(), reset[i]) << column << " row " << i;
    }
    const QStringList kept{"True", "True", "False", "True", "False"};
    const QStringList flipped{"False", "False", "True", "False", "True"};
    for (const char* flag : {"BedGleich", "BedKleiner", "BedGroesser", "BedLeer", "Ausrichtung_li",
                             "Ueberl_abschneid_li", "Ueberl_abschneid_re"})
        EXPECT_EQ(columnTexts(*tblZStrukt, flag), kept) << flag;
    EXPECT_EQ(columnTexts(*tblZStrukt, "Ausrichtung_re"), flipped);
    EXPECT_EQ(columnTexts(*tblZStrukt, "FeldAkt"), flipped);
}

namespace {

class Backup : public WorkingFolder {
protected:
    void SetUp() override
    {
        WorkingFolder::SetUp();
        for (const char* folder : {"daten", "sich", "sich.neu"})
            QDir(dir.path()).mkdir(folder);
        target = testsupport::copyTableTo("paradox/pdriver-db/CUSTOMER.DB", path("daten"));
        tblZiel.setTableName(target);
        tblZiel.Open();
    }

    QString target;
    db::Table tblZiel;
    platform::FileDialogRequest sdSicherungskopie = engine::SicherungskopieDialog();
};

}  // namespace

TEST_F(Backup, EveryFileOfTheTargetIsCopiedUnderTheChosenName)
{
    const QStringList extensions{".DB", ".MB", ".PX", ".X06", ".Y06"};
    const QString refused = "Es ist keine Sicherungskopie erstellt worden.";
    struct Case {
        const char* name;
        const char* chosen;  // relative to the program folder; empty: cancelled
        const char* copiedBase;  // in the chosen folder; nullptr: nothing copied
        MessageType type;
        const char* textStart;  // of the last message; nullptr: no message
    } const cases[] = {
        {"another folder and name", "sich/Kopie.DB", "Kopie", MessageType::Information,
         "Die Sicherungskopie ist erstellt worden"},
        {"the proposal", "daten/CP_CUSTOMER.DB", "CP_CUSTOMER", MessageType::Information,
         "Die Sicherungskopie ist erstellt worden"},
        {"cancelled", "", nullptr, MessageType::Information, nullptr},
        {"no extension", "sich/Kopie", nullptr, MessageType::Error, "Der Dateiname"},
        {"a dot only in the folder", "sich.neu/Kopie", nullptr, MessageType::Error, "Der Dateiname"},
        {"no name before the extension", "sich/.DB", nullptr, MessageType::Error, "Der Dateiname"},
        {"the target itself", "daten/customer.db", nullptr, MessageType::Error,
         "Die Sicherungskopie kann nicht unter dem Namen der Zieltabelle"},
        {"a folder that does not exist", "fehlt/Kopie.DB", nullptr, MessageType::Error,
         "Die Sicherungskopie konnte nicht erstellt werden"},
    };
    const QByteArray original = contents(target);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* folder : {"sich", "sich.neu"}) {
            for (const QString& f : filesIn(path(folder)))
                QFile::remove(path(folder) + "/" + f);
        }
        ui.clearRecord();
        const QString chosen = *c.chosen ? path(c.chosen) : QString();
        ui.answerFile(chosen);
        const bool missingFolder = QString::fromUtf8(c.name).contains("exist");
        if (c.textStart)
            ui.answer(Button::Ok);
        if (missingFolder)
            ui.answer(Button::Ok);

        engine::SicherungskopieErstellen({tblZiel, sdSicherungskopie});

        const std::vector<platform::FileDialogRequest> dialogs = ui.fileDialogs();
        ASSERT_EQ(dialogs.size(), 1u);
        EXPECT_EQ(dialogs[0].fileName, path("daten/CP_CUSTOMER.DB"));
        EXPECT_EQ(dialogs[0].title, "Sicherungskopie speichern unter");
        EXPECT_EQ(dialogs[0].filter,
                  "Paradox (*.db); dBase(*.dbf)|*.db; *.dbf|Paradox (*.db)              |*.db|"
                  "dBase (*.dbf)               |*.dbf");
        EXPECT_EQ(dialogs[0].options, unsigned(platform::PathMustExist));
        const std::vector<platform::MessageRequest> messages = ui.messages();
        if (!c.textStart) {
            EXPECT_TRUE(messages.empty());
        } else {
            ASSERT_EQ(messages.size(), missingFolder ? 2u : 1u);
            EXPECT_EQ(messages.back().type, c.type);
            EXPECT_TRUE(messages.back().text.startsWith(QString::fromUtf8(c.textStart)))
                << messages.back().text.toStdString();
            if (c.type == MessageType::Error && !missingFolder) {
                EXPECT_TRUE(messages.back().text.endsWith(refused));
            }
        }
        if (c.copiedBase) {
            const QString folder = QFileInfo(chosen).path();
            for (const QString& ext : extensions) {
                EXPECT_EQ(contents(folder + "/" + c.copiedBase + ext), contents(path("daten/CUSTOMER") + ext))
                    << ext.toStdString();
            }
            QStringList expected;
            for (const QString& ext : extensions)
                expected << c.copiedBase + ext;
            EXPECT_EQ(filesIn(folder).filter(c.copiedBase), expected);
        } else {
            EXPECT_TRUE(filesIn(path("sich")).isEmpty());
            EXPECT_TRUE(filesIn(path("sich.neu")).isEmpty());
        }
        EXPECT_EQ(filesIn(path("daten")).filter("CUSTOMER", Qt::CaseInsensitive).size(),
                  QString::fromUtf8(c.name) == "the proposal" ? 10 : 5);
        EXPECT_EQ(contents(target), original);
        EXPECT_TRUE(tblZiel.Active());
        for (const QString& ext : extensions)
            QFile::remove(path("daten/CP_CUSTOMER") + ext);
    }
}

TEST_F(Backup, ATargetNameWithoutExtensionIsRefused)
{
    tblZiel.Close();
    tblZiel.setTableName(path("daten/CUSTOMER"));
    ui.answerFile(path("sich/Kopie.DB")).answer(Button::Ok);
    engine::SicherungskopieErstellen({tblZiel, sdSicherungskopie});
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].type, MessageType::Error);
    EXPECT_TRUE(
        ui.messages()[0].text.startsWith("Die Zieltabelle " + path("daten/CUSTOMER") + " hat keine Dateiendung."));
    EXPECT_TRUE(filesIn(path("sich")).isEmpty());
}

namespace {

// Another program holding a table: a child process that opens it and keeps it until told to let go.
class OtherProgram {
public:
    OtherProgram(const QString& file, OpenMode mode)
    {
        if (pipe(ready_) != 0 || pipe(release_) != 0)
            throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ < 0)
            throw std::runtime_error("fork");
        if (pid_ == 0) {
            char byte = 0;
            try {
                auto table = db::paradox::open(file, mode);
                byte = 1;
                (void)!write(ready_[1], &byte, 1);
                (void)!read(release_[0], &byte, 1);
            } catch (...) {
                (void)!write(ready_[1], &byte, 1);
            }
            _exit(0);
        }
        char byte = 0;
        holding_ = read(ready_[0], &byte, 1) == 1 && byte == 1;
    }
    ~OtherProgram()
    {
        letGo();
        for (int fd : {ready_[0], ready_[1], release_[0], release_[1]})
            close(fd);
    }
    bool holding() const { return holding_; }
    void letGo()
    {
        if (pid_ <= 0)
            return;
        char byte = 0;
        (void)!write(release_[1], &byte, 1);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
    }

private:
    int ready_[2] = {-1, -1};
    int release_[2] = {-1, -1};
    pid_t pid_ = 0;
    bool holding_ = false;
};

// The person reads the warning and closes the other program before pressing OK.
class ClosesOtherProgramOnWarning : public platform::ScriptedUi {
public:
    OtherProgram* other = nullptr;
    Button showMessage(const platform::MessageRequest& request) override
    {
        if (other)
            other->letGo();
        return ScriptedUi::showMessage(request);
    }
};

}  // namespace

TEST(ExclusiveCheck, ATargetHeldByAnotherProgramIsReportedAndLeftOpenAndShared)
{
    enum class Holder { Nobody, Reader, ExclusiveLetsGo, ExclusiveKeeps };
    struct Case {
        const char* name;
        Holder holder;
        bool warned;
        bool raises;
    } const cases[] = {
        {"nobody else", Holder::Nobody, false, false},
        {"another program reads it", Holder::Reader, true, false},
        {"another program holds it alone and is closed", Holder::ExclusiveLetsGo, true, false},
        {"another program holds it alone and keeps it", Holder::ExclusiveKeeps, true, true},
    };
    QTemporaryDir dir;
    const QString file = testsupport::copyTableTo("paradox/pdriver-db/CONTACTS.DB", dir.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClosesOtherProgramOnWarning ui;
        platform::ScopedUserInterface installed(ui);
        std::unique_ptr<OtherProgram> other;
        if (c.holder != Holder::Nobody) {
            other = std::make_unique<OtherProgram>(file,
                                                   c.holder == Holder::Reader ? OpenMode::Shared : OpenMode::Exclusive);
            ASSERT_TRUE(other->holding());
        }
        if (c.holder == Holder::ExclusiveLetsGo)
            ui.other = other.get();
        if (c.warned)
            ui.answer(Button::Ok);
        db::Table tblZiel;
        tblZiel.setTableName(file);
        // The wizard has the target open where it can; another program's exclusive hold keeps it closed.
        if (c.holder == Holder::Nobody || c.holder == Holder::Reader)
            tblZiel.Open();

        if (c.raises) {
            try {
                engine::ZieldateiExklusivPruefen(tblZiel);
                ADD_FAILURE() << "no error";
            } catch (const db::EngineError& e) {
                EXPECT_EQ(e.code(), db::ErrorCode::FileLocked);
            }
        } else {
            EXPECT_NO_THROW(engine::ZieldateiExklusivPruefen(tblZiel));
            EXPECT_TRUE(tblZiel.Active());
        }
        EXPECT_FALSE(tblZiel.Exclusive());
        if (c.warned) {
            ASSERT_EQ(ui.messages().size(), 1u);
            EXPECT_EQ(ui.messages()[0].type, MessageType::Warning);
            EXPECT_EQ(ui.messages()[0].buttons, platform::Buttons::Ok);
            EXPECT_EQ(ui.messages()[0].text, fill(texts::Text(64986), {file}));
        } else {
            EXPECT_TRUE(ui.messages().empty());
        }
        // Left shared: a reader in another process gets in beside it.
        if (!c.raises && c.holder != Holder::Reader) {
            OtherProgram reader(file, OpenMode::Shared);
            EXPECT_TRUE(reader.holding());
        }
    }
}

TEST(ExclusiveCheck, OtherDatabaseErrorsPassWithoutAWarning)
{
    QTemporaryDir dir;
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    db::Table tblZiel;
    tblZiel.setTableName(dir.filePath("Fehlt.DB"));
    // The exclusive try fails silently; only the shared open afterwards tells the caller.
    EXPECT_THROW(engine::ZieldateiExklusivPruefen(tblZiel), db::EngineError);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FALSE(tblZiel.Exclusive());
}

TEST(TabelleFindKey, LooksUpThroughTheDataSourcesTable)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Ziel.DB");
    db::paradox::create(file, {def("Nr", FieldType::ftInteger), def("Name", FieldType::ftString, 10)}, 1);
    db::Table ziel;
    ziel.setTableName(file);
    ziel.Open();
    for (int nr : {1, 2, 3}) {
        ziel.Append();
        ziel.FieldByName("Nr")->setAsInteger(nr);
        ziel.FieldByName("Name")->setAsString(QString::number(nr * 10));
        ziel.Post();
    }
    db::DataSource dscZiel;
    dscZiel.setDataSet(&ziel);
    struct Case {
        const char* name;
        QVariant value;
        bool found;
        const char* nameAfter;
    } const cases[] = {
        {"present", 2, true, "20"},
        {"present as text", QStringLiteral("3"), true, "30"},
        {"absent keeps the cursor", 7, false, "30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(engine::TabelleFindKey(dscZiel, c.value), c.found);
        EXPECT_EQ(ziel.FieldByName("Name")->AsString(), c.nameAfter);
    }
    db::DataSource withoutTable;
    EXPECT_FALSE(engine::TabelleFindKey(withoutTable, 2));
}

TEST_F(SettingFiles, ASettingIsReadBackAsItWasWrittenBlanksIncluded)
{
    engine::ImportSetting full;
    full.Bezeichnung = "Kunden";
    full.Bemerkung = QString::fromUtf8("Übernahme\r\nzweite Zeile");
    full.Quellformat = "Text";
    full.VorDefTableName = "VD1";
    full.Quelldatei = "C:\\Daten\\kunden.txt";
    full.Zieldatei = "/daten/Kunden.DB";
    full.ZielLeeren = true;
    full.Sicherungskopie = true;
    full.LetzterImport = QDate(2024, 2, 29);
    full.Importmodus = 3;
    full.Marks = 0;
    full.MarkFeld = "Tabelle 1";
    full.Semic = full.Komma = full.Tab = full.Space = true;
    full.Andere = "|";
    full.Delimiter = 2;
    full.ColNames = "Nr;Name";
    full.FixBreak = "5;-1;";
    full.FixVar = 1;
    full.DosToWin = true;
    full.Decimal = ",";
    full.Tausend = ".";
    full.Zeit = ":";
    full.Datum = ".";
    full.TMJ = "TT.MM.JJJJ";
    full.NamesInFirstLine = true;
    full.Eigene = true;

    engine::MappingRow set;
    set.Index = "X";
    set.Feldname = "Nr";
    set.Laenge = "4";
    set.Typbezeichnung = "Integer";
    set.Zuordnung = "Nummer";
    set.Typ = 3;
    set.Div = 0.0;  // a stored 0 is set, unlike a blank
    set.Mul = 2.5;
    set.Vorgabewert_alph = "leer";
    set.Vorgabewert_num = -1.0;
    set.BedGleich = set.BedKleiner = set.BedGroesser = set.BedLeer = true;
    set.Quellwert_alph = "-";
    set.Quellwert_num = 7.0;
    set.Formel_alph = "\"a\" + #Name";
    set.Formel_num = "#Nr * 2";
    set.Runden = 2;
    set.Ausrichtung_li = true;
    set.Ausrichtung_re = false;
    set.Ueberl_abschneid_li = set.Ueberl_abschneid_re = true;
    set.StringAuswahlBeg = 1;
    set.StringAuswahlEnd = 3;
    set.FeldAkt = false;
    engine::MappingRow fresh;
    fresh.Feldname = "Name";
    full.Mapping = {set, fresh, set};

    engine::ImportSetting blank;
    blank.Bezeichnung = "Leer";

    for (const engine::ImportSetting* setting : {&full, &blank}) {
        SCOPED_TRACE(setting->Bezeichnung.toStdString());
        tblImpList->Open();
        tblImpList->Append();
        engine::WriteImpListRow(*tblImpList, *setting);
        tblImpList->Post();
        tblZStrukt->Open();
        engine::WriteMapping(*tblZStrukt, setting->Mapping);
        tblImpList->Close();
        tblZStrukt->Close();

        tblImpList->Open();
        ASSERT_TRUE(tblImpList->FindKey(QVariantList{setting->Bezeichnung}));
        tblZStrukt->Open();
        if (!setting->Mapping.empty())
            tblZStrukt->setRecNo(2);
        engine::ImportSetting read = engine::ReadImportSetting(*tblImpList, *tblZStrukt);
        EXPECT_TRUE(read.TableName.has_value());  // the engine's counter
        read.TableName.reset();
        EXPECT_TRUE(read == *setting);
        EXPECT_EQ(read.Mapping.size(), setting->Mapping.size());
        // Reading the mapping leaves its cursor where it stood.
        if (!setting->Mapping.empty()) {
            EXPECT_EQ(tblZStrukt->RecNo(), 2);
        }
        tblImpList->Close();
        tblZStrukt->Close();
    }
    EXPECT_EQ(full.QuelldateiOrdner(), "C:\\Daten\\");
}
