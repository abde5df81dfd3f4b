#include "ui/TfrmVeskIn.h"

#include "modal_answer.h"
#include "platform/program_file.h"
#include "platform/regional.h"
#include "temp_folder.h"
#include "ui/TNumericEdit.h"
#include "ui/TRadioGroup.h"
#include "ui/TTableModel.h"
#include "window_calculation.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace std::string_literals;

// The shown window with its model folder in a temporary folder, handed bad files by a user.
class TBadInputFilesTest : public testing::Test {
protected:
    void SetUp() override { Start(); }
    void TearDown() override {
        FWindow.reset();
        if (FMounted)
            umount2(FModelDir.c_str(), MNT_DETACH);
        SetRegional({'.', ","});
    }

    void Start() {
        SetRegional({'.', ""});
        FWindow = std::make_unique<TfrmVeskIn>();
        FWindow->PrepareModelDir(FModelDir);
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }

    std::string Text(const char* input) const {
        return FWindow->findChild<TNumericEdit*>(QLatin1String(input))->text().toStdString();
    }
    int Tipo() const { return FWindow->rgTipo->ItemIndex(); }
    TVeskDairy& Dairy() { return *FWindow->FDairy; }
    QLineEdit* Modelo() const { return FWindow->Modelo; }
    std::string ModelPath(const std::string& name) const { return FModelDir + "/" + name; }
    QString Cell(int row, int column) const {
        const QAbstractItemModel* grid = &FWindow->mt;
        return grid->index(row, column).data().toString();
    }

    // Runs step inside an event of the window, as the open dialog's accept does, so that a
    // failure meets the default error report; returns the boxes shown.
    std::vector<TModalAnswer::TBox> InEvent(const std::function<void()>& step) {
        TModalAnswer answer;
        bool ran = false;
        QTimer::singleShot(0, FWindow.get(), [&] {
            ran = true;
            step();
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return ran; }));
        return answer.Boxes();
    }
    std::vector<TModalAnswer::TBox> Open(const std::string& path) {
        return InEvent([&] { FWindow->FileOpen1Accept(QString::fromStdString(path)); });
    }
    std::vector<TModalAnswer::TBox> Save(const QString& name) {
        Modelo()->setText(name);
        TModalAnswer answer;
        QTest::mouseClick(FWindow->tbTipo->widgetForAction(FWindow->acSave), Qt::LeftButton);
        return answer.Boxes();
    }

    // A small tmpfs in place of the model folder; false when this process may not mount.
    bool MountModelFolder() {
        if (mount("vesk-test", FModelDir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") != 0)
            return false;
        FMounted = true;
        return true;
    }

    TTempFolder FFolder{"bad_input"};
    std::string FModelDir = FFolder.Path() + "/Modelos";
    bool FMounted = false;
    std::unique_ptr<TfrmVeskIn> FWindow;
};

namespace {

// What stands at a file's path: the file, or something else under its name.
enum class TEntry { File, Folder, Fifo, Device };

void MakeEntry(const std::string& path, TEntry entry, const std::string& bytes) {
    // A run that crashed leaves its entry behind; a FIFO there would block the next writer.
    std::error_code ignored;
    fs::remove_all(path, ignored);
    switch (entry) {
    case TEntry::File:
        StoreFile(path, bytes);
        break;
    case TEntry::Folder:
        fs::create_directory(path);
        break;
    case TEntry::Fifo:
        ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
        break;
    case TEntry::Device:
        fs::create_symlink("/dev/zero", path);
        break;
    }
}

// A load starts from this animal, so that a load that stops shows it still.
void SetAnimal(TVeskDairy& model) {
    model.Tipo = 1;
    model.Peso = 600;
    model.Leche = 30;
}

struct TLoadCase {
    const char* Label;
    std::string Bytes; // the file's contents when Entry is a file
    TEntry Entry;
    const char* Message; // the default error report's text, nullptr when none
    const char* Peso;
    const char* Leche;
    int Tipo;
};

void PrintTo(const TLoadCase& c, std::ostream* os) {
    *os << c.Label;
}

class TBadModelFile : public TBadInputFilesTest, public testing::WithParamInterface<TLoadCase> {};

// The name and inputs show what loaded, or stay as they were when the load stopped; the window
// calculates afterwards.
TEST_P(TBadModelFile, LoadsWhatItCanAndTheWindowGoesOn) {
    const TLoadCase& c = GetParam();
    const std::string path = ModelPath("vaca.VM2");
    MakeEntry(path, c.Entry, c.Bytes);
    SetAnimal(Dairy());
    FWindow->ShowInputs();
    Modelo()->setText(QStringLiteral("antes"));

    const std::vector<TModalAnswer::TBox> boxes = Open(path);
    if (c.Message) {
        ExpectOneErrorReport(boxes, QString::fromLatin1(c.Message));
        EXPECT_EQ(Modelo()->text(), QStringLiteral("antes"));
    } else {
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(Modelo()->text(), QStringLiteral("vaca"));
    }
    EXPECT_EQ(Text("ilPeso"), c.Peso);
    EXPECT_EQ(Text("ilLeche"), c.Leche);
    EXPECT_EQ(Tipo(), c.Tipo);
    if (c.Entry == TEntry::File) {
        EXPECT_EQ(FileContents(path), c.Bytes);
    }
    ExpectCalculates(*FWindow);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TBadModelFile,
    testing::Values(
        TLoadCase{"BinaryJunk", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe\x01[\x02=\x03"s,
                  TEntry::File, nullptr, "450", "15.00", 0},
        TLoadCase{"LastLineCutBeforeItsEquals", "[Data]\r\nTipo=2\r\nPeso=520\r\nLec", TEntry::File,
                  nullptr, "520", "15.00", 2},
        TLoadCase{"HeaderCut", "[Dat", TEntry::File, nullptr, "450", "15.00", 0},
        TLoadCase{"EmptyFile", "", TEntry::File, nullptr, "450", "15.00", 0},
        TLoadCase{"FolderInPlaceOfTheFile", "", TEntry::Folder, nullptr, "450", "15.00", 0},
        TLoadCase{"FifoInPlaceOfTheFile", "", TEntry::Fifo, nullptr, "450", "15.00", 0},
        TLoadCase{"EndlessDevice", "", TEntry::Device, nullptr, "450", "15.00", 0},
        TLoadCase{"NulInsideAValue", "[Data]\r\nPeso=600\0\r\nLeche=25\r\n"s, TEntry::File, nullptr,
                  "450", "25.00", 0},
        TLoadCase{"NulInsideTheHeader", "[Da\0ta]\r\nPeso=600\r\n"s, TEntry::File, nullptr, "450",
                  "15.00", 0},
        TLoadCase{"ByteOrderMarkAndLineFeeds", "\xEF\xBB\xBF[Data]\nPeso=520\nLeche=25\n",
                  TEntry::File, nullptr, "520", "25.00", 0},
        TLoadCase{"CarriageReturnsOnly", "[Data]\rPeso=520\rLeche=25\r", TEntry::File, nullptr,
                  "520", "25.00", 0},
        TLoadCase{"Utf16", "\xFF\xFE[\0D\0a\0t\0a\0]\0\r\0\n\0P\0e\0s\0o\0=\0\x35\0\x32\0\x30\0"s,
                  TEntry::File, nullptr, "450", "15.00", 0},
        TLoadCase{"UnderflowReadsAsZero", "[Data]\r\nLeche=1E-60\r\n", TEntry::File, nullptr, "450",
                  "0.00", 0},
        TLoadCase{"BeyondSinglePrecision", "[Data]\r\nTipo=2\r\nPeso=1E39\r\n", TEntry::File,
                  "Floating point overflow.", "600", "30.00", 1},
        TLoadCase{"NegativeBeyondSinglePrecision", "[Data]\r\nConsumo=-3.5E38\r\n", TEntry::File,
                  "Floating point overflow.", "600", "30.00", 1},
        TLoadCase{"BeyondExtendedPrecisionDoesNotParse", "[Data]\r\nLeche=1E5000\r\n", TEntry::File,
                  nullptr, "450", "15.00", 0}),
    [](const testing::TestParamInfo<TLoadCase>& info) { return info.param.Label; });

enum class TSaveFault {
    SlashInName,
    NulInName,
    NameTooLong,
    FolderInPlace,
    ReadOnlyFile,
    ReadOnlyMedium,
    FullMedium
};

struct TSaveCase {
    const char* Label;
    TSaveFault Fault;
    QString Name;
};

void PrintTo(const TSaveCase& c, std::ostream* os) {
    *os << c.Label;
}

class TBadSave : public TBadInputFilesTest, public testing::WithParamInterface<TSaveCase> {
protected:
    // Sets the fault up beside the model file that a save before left; false to skip.
    bool Prepare(TSaveFault fault) {
        const bool onMedium =
            fault == TSaveFault::ReadOnlyMedium || fault == TSaveFault::FullMedium;
        if (onMedium && !MountModelFolder())
            return false;
        StoreFile(ModelPath("vaca.VM2"), Old);
        switch (fault) {
        case TSaveFault::FolderInPlace:
            fs::create_directory(ModelPath("otra.VM2"));
            break;
        case TSaveFault::NameTooLong:
            // Typing stops at 50 characters; a name typed into the open dialog is taken whole.
            Open(ModelPath(std::string(252, 'v') + ".vm2"));
            break;
        case TSaveFault::ReadOnlyFile:
            fs::permissions(ModelPath("vaca.VM2"), fs::perms::owner_read | fs::perms::others_read);
            break;
        case TSaveFault::ReadOnlyMedium:
            return mount(nullptr, FModelDir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        case TSaveFault::FullMedium:
            Fill(ModelPath("relleno"));
            break;
        default:
            break;
        }
        return true;
    }
    // Writes the file until the medium has no room left.
    static void Fill(const std::string& path) {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'x');
        while (write(fd, block.data(), block.size()) > 0) {
        }
        EXPECT_EQ(errno, ENOSPC);
        close(fd);
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(FModelDir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    const std::string Old = "[Data]\r\nTipo=1\r\nPeso=500\r\n";
};

// The message names the file; the file that was there stays whole, nothing is added beside it,
// and the window keeps its name and calculates.
TEST_P(TBadSave, ReportsTheFileAndLosesNothing) {
    const TSaveCase& c = GetParam();
    if (!Prepare(c.Fault))
        GTEST_SKIP() << "mounting a file system is not permitted here";
    const std::vector<std::string> before = Entries();
    const std::vector<TModalAnswer::TBox> boxes = Save(c.Name);
    // The message is a C string: a name with a zero character shows up to that character.
    const QString shown = c.Name.left(c.Name.indexOf(QChar(0))) +
                          (c.Name.contains(QChar(0)) ? QString() : QStringLiteral(".VM2"));
    ExpectOneErrorReport(boxes, QStringLiteral("Unable to write to ") +
                                    QString::fromStdString(FModelDir) + u'/' + shown + u'.');
    EXPECT_EQ(FileContents(ModelPath("vaca.VM2")), Old);
    EXPECT_EQ(Entries(), before);
    EXPECT_EQ(Modelo()->text(), c.Name);
    ExpectCalculates(*FWindow);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TBadSave,
    testing::Values(TSaveCase{"SlashInName", TSaveFault::SlashInName, QStringLiteral("sub/vaca")},
                    TSaveCase{"NulInName", TSaveFault::NulInName,
                              QStringLiteral("vaca") + QChar(0) + QStringLiteral("x")},
                    TSaveCase{"NameTooLong", TSaveFault::NameTooLong, QString(252, u'v')},
                    TSaveCase{"FolderInPlaceOfTheFile", TSaveFault::FolderInPlace,
                              QStringLiteral("otra")},
                    TSaveCase{"ReadOnlyFile", TSaveFault::ReadOnlyFile, QStringLiteral("vaca")},
                    TSaveCase{"ReadOnlyMedium", TSaveFault::ReadOnlyMedium, QStringLiteral("vaca")},
                    TSaveCase{"FullMedium", TSaveFault::FullMedium, QStringLiteral("vaca")}),
    [](const testing::TestParamInfo<TSaveCase>& info) { return info.param.Label; });

// The names file beside this test program, written before the window starts and removed after.
struct TNamesCase {
    const char* Label;
    std::string Bytes;
    TEntry Entry;
    struct TRow {
        int Row;
        const char* Codigo;
        const char* Nombre;
        const char* Unidad;
    };
    std::vector<TRow> Rows;
};

void PrintTo(const TNamesCase& c, std::ostream* os) {
    *os << c.Label;
}

class TBadNamesFile : public TBadInputFilesTest, public testing::WithParamInterface<TNamesCase> {
protected:
    void SetUp() override {}
    void TearDown() override {
        FWindow.reset();
        std::error_code ignored;
        fs::remove_all(NamesFile(), ignored);
        TBadInputFilesTest::TearDown();
    }
    static std::string NamesFile() { return NamesFilePath(ProgramFile()); }
};

// The window starts without a message and shows, after F9, the names it could read and the
// defaults for the rest.
TEST_P(TBadNamesFile, StartsWithWhatItCouldRead) {
    const TNamesCase& c = GetParam();
    MakeEntry(NamesFile(), c.Entry, c.Bytes);
    {
        TModalAnswer start;
        Start();
        EXPECT_TRUE(start.Boxes().empty());
    }
    ExpectCalculates(*FWindow);
    for (const TNamesCase::TRow& row : c.Rows) {
        EXPECT_EQ(Cell(row.Row, 0), QString::fromUtf8(row.Codigo)) << "row " << row.Row;
        EXPECT_EQ(Cell(row.Row, 1), QString::fromUtf8(row.Nombre)) << "row " << row.Row;
        EXPECT_EQ(Cell(row.Row, 2), QString::fromUtf8(row.Unidad)) << "row " << row.Row;
    }
}

const std::string Megabyte(1 << 20, 'x');

INSTANTIATE_TEST_SUITE_P(
    Files, TBadNamesFile,
    testing::Values(
        TNamesCase{"MissingSections",
                   "[N0]\r\nCodigo=101\r\nNombre=Proteína cruda\r\nUnidad=%\r\n"
                   "[N6]\r\nCodigo=107\r\nNombre=Potasio\r\nUnidad=%\r\n",
                   TEntry::File,
                   {{0, "101", "Proteína cruda", "%"},
                    {3, "0", "SinNombre", "SinUnidad"},
                    {6, "107", "Potasio", "%"}}},
        TNamesCase{"MissingKeys",
                   "[N0]\r\nNombre=Proteína cruda\r\n[N1]\r\nCodigo=102\r\nUnidad=\r\n",
                   TEntry::File,
                   {{0, "0", "Proteína cruda", "SinUnidad"}, {1, "102", "SinNombre", ""}}},
        TNamesCase{"MegabyteLines",
                   "[N0]\r\nCodigo=" + std::string(1 << 20, '9') + "\r\nNombre=" + Megabyte +
                       "\r\nUnidad=" + Megabyte + "\r\n;" + Megabyte +
                       "\r\n[N1]\r\nCodigo=102\r\nNombre=Energía\r\nUnidad=Mcal/kg\r\n",
                   TEntry::File,
                   {{0, "0", "xxxxxxxxxxxxxxxxxxxxxxxxx", "xxxxxxxxxx"},
                    {1, "102", "Energía", "Mcal/kg"}}},
        TNamesCase{
            "SingleByteText",
            "[N0]\r\nNombre=Energ\xED"
            "a neta de lactaci\xF3n\r\nUnidad=\xB5g/kg\r\n"
            "[N4]\r\nNombre=F\xF3sforo \x80\r\n",
            TEntry::File,
            {{0, "0", "Energía neta de lactación", "µg/kg"}, {4, "0", "Fósforo €", "SinUnidad"}}},
        TNamesCase{"CutAndOverlongSequences",
                   "[N0]\r\nNombre=Prote\xC3\r\n[N1]\r\nNombre=\xC0\xAF\r\n",
                   TEntry::File,
                   {{0, "0", "ProteÃ", "SinUnidad"}, {1, "0", "À¯", "SinUnidad"}}},
        TNamesCase{"BinaryJunk",
                   "\x7f"
                   "ELF\x02\x01\x01\0\0\0[N0\xff\xfe\r\n"s,
                   TEntry::File,
                   {{0, "0", "SinNombre", "SinUnidad"}}},
        TNamesCase{
            "FolderInPlaceOfTheFile", "", TEntry::Folder, {{0, "0", "SinNombre", "SinUnidad"}}},
        TNamesCase{"FifoInPlaceOfTheFile", "", TEntry::Fifo, {{0, "0", "SinNombre", "SinUnidad"}}}),
    [](const testing::TestParamInfo<TNamesCase>& info) { return info.param.Label; });

} // namespace
