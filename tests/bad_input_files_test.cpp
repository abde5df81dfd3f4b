#include "ui/TfrmVeskIn.h"

#include "exchange/ModelFile.h"
#include "modal_answer.h"
#include "model_inputs.h"
#include "platform/program_file.h"
#include "platform/regional.h"
#include "temp_folder.h"
#include "two_animals.h"
#include "ui/TNumericEdit.h"
#include "ui/TRadioGroup.h"
#include "window_calculation.h"
#include "window_test.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace std::string_literals;

// Types the path into the open dialog and accepts it. The dialog opens a folder instead of
// accepting it; it is cancelled then.
void AcceptTyped(QFileDialog& dialog, const std::string& path) {
    dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
        ->setText(QString::fromStdString(path));
    static_cast<QDialog&>(dialog).accept();
    if (dialog.isVisible())
        dialog.reject();
}

// The names that the dialog lists in its folder under its current name filter, once it has read
// the folder far enough to list expected.
QStringList Listed(QFileDialog& dialog, const QString& expected) {
    auto* files = dialog.findChild<QFileSystemModel*>();
    const QString folder = dialog.directory().absolutePath();
    QStringList names;
    auto read = [&] {
        names.clear();
        const QModelIndex parent = files->index(folder);
        for (int row = 0; row < files->rowCount(parent); ++row) {
            const QModelIndex entry = files->index(row, 0, parent);
            if (entry.flags() & Qt::ItemIsEnabled)
                names << entry.data().toString();
        }
        return names.contains(expected);
    };
    EXPECT_TRUE(QTest::qWaitFor(read)) << "the dialog never listed " << expected.toStdString();
    return names;
}

// The shown window handed bad files by a user, in the model folder of the test program's own
// home, which the open dialog shows.
class TBadInputFilesTest : public TWindowTest {
protected:
    void SetUp() override { Start(); }
    void TearDown() override {
        FWindow.reset();
        if (FMounted)
            umount2(FModelDir.c_str(), MNT_DETACH);
        std::error_code ignored;
        fs::remove_all(FModelDir, ignored);
        TWindowTest::TearDown();
    }

    void Start() {
        Create('.');
        Show();
        ASSERT_TRUE(Open([this](QFileDialog& dialog) {
            FModelDir = dialog.directory().absolutePath().toStdString();
            dialog.reject();
        }));
    }

    int Tipo() const { return Find<TRadioGroup>("rgTipo")->ItemIndex(); }
    QLineEdit* Modelo() const { return Find<QLineEdit>("Modelo"); }
    std::string Path(const std::string& name) const { return FModelDir + "/" + name; }
    QString Cell(int row, int column) const {
        return Find<QAbstractItemView>("DBGrid1")->model()->index(row, column).data().toString();
    }

    // Presses "Cargar modelo..." and hands its dialog to answer, which closes it.
    bool Open(const std::function<void(QFileDialog&)>& answer) {
        return AnswerDialog<QFileDialog>([&] { Press("tbTipo", "FileOpen1"); }, answer);
    }
    // Loads the file through the open dialog; returns the boxes shown.
    std::vector<TModalAnswer::TBox> Open(const std::string& path) {
        TModalAnswer boxes;
        EXPECT_TRUE(Open([&](QFileDialog& dialog) { AcceptTyped(dialog, path); }));
        return boxes.Boxes();
    }
    // Puts name into the model name as a paste does, then presses the save button; returns the
    // boxes shown.
    std::vector<TModalAnswer::TBox> Save(const std::optional<QString>& name) {
        if (name) {
            QApplication::clipboard()->setText(*name);
            Modelo()->setFocus();
            QTest::keyClick(Modelo(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(Modelo(), Qt::Key_V, Qt::ControlModifier);
        }
        TModalAnswer answer;
        Press("tbTipo", "acSave");
        return answer.Boxes();
    }

    // A small tmpfs in place of the model folder; false when this process may not mount.
    bool MountModelFolder() {
        if (mount("vesk-test", FModelDir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") != 0)
            return false;
        FMounted = true;
        return true;
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(FModelDir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string FModelDir;
    bool FMounted = false;
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

struct TLoadCase {
    const char* Label;
    std::string Bytes; // the file's contents when Entry is a file
    TEntry Entry;
    const char* Message; // the default error report's text, nullptr when none
    const char* Name;    // the model name afterwards
    const char* Peso;
    const char* Leche;
    int Tipo;
};

void PrintTo(const TLoadCase& c, std::ostream* os) {
    *os << c.Label;
}

class TBadModelFile : public TBadInputFilesTest, public testing::WithParamInterface<TLoadCase> {};

// The name and inputs show what loaded, or stay as they were when nothing loaded or the load
// stopped; the window calculates afterwards.
TEST_P(TBadModelFile, LoadsWhatItCanAndTheWindowGoesOn) {
    const TLoadCase& c = GetParam();
    StoreFile(Path("antes.VM2"), "[Data]\r\nTipo=1\r\nPeso=600\r\nLeche=30\r\n");
    ASSERT_TRUE(Open(Path("antes.VM2")).empty());
    const std::string path = Path("vaca.VM2");
    MakeEntry(path, c.Entry, c.Bytes);

    const std::vector<TModalAnswer::TBox> boxes = Open(path);
    if (c.Message) {
        ExpectOneErrorReport(boxes, QString::fromLatin1(c.Message));
    } else {
        EXPECT_TRUE(boxes.empty());
    }
    EXPECT_EQ(Modelo()->text(), QLatin1String(c.Name));
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
                  TEntry::File, nullptr, "vaca", "450", "15.00", 0},
        TLoadCase{"LastLineCutBeforeItsEquals", "[Data]\r\nTipo=2\r\nPeso=520\r\nLec", TEntry::File,
                  nullptr, "vaca", "520", "15.00", 2},
        TLoadCase{"HeaderCut", "[Dat", TEntry::File, nullptr, "vaca", "450", "15.00", 0},
        TLoadCase{"EmptyFile", "", TEntry::File, nullptr, "vaca", "450", "15.00", 0},
        // The dialog opens a folder instead of taking it as the file.
        TLoadCase{"FolderInPlaceOfTheFile", "", TEntry::Folder, nullptr, "antes", "600", "30.00",
                  1},
        TLoadCase{"FifoInPlaceOfTheFile", "", TEntry::Fifo, nullptr, "vaca", "450", "15.00", 0},
        TLoadCase{"EndlessDevice", "", TEntry::Device, nullptr, "vaca", "450", "15.00", 0},
        TLoadCase{"NulInsideAValue", "[Data]\r\nPeso=600\0\r\nLeche=25\r\n"s, TEntry::File, nullptr,
                  "vaca", "450", "25.00", 0},
        TLoadCase{"NulInsideTheHeader", "[Da\0ta]\r\nPeso=600\r\n"s, TEntry::File, nullptr, "vaca",
                  "450", "15.00", 0},
        TLoadCase{"ByteOrderMarkAndLineFeeds", "\xEF\xBB\xBF[Data]\nPeso=520\nLeche=25\n",
                  TEntry::File, nullptr, "vaca", "520", "25.00", 0},
        TLoadCase{"CarriageReturnsOnly", "[Data]\rPeso=520\rLeche=25\r", TEntry::File, nullptr,
                  "vaca", "520", "25.00", 0},
        TLoadCase{"Utf16", "\xFF\xFE[\0D\0a\0t\0a\0]\0\r\0\n\0P\0e\0s\0o\0=\0\x35\0\x32\0\x30\0"s,
                  TEntry::File, nullptr, "vaca", "450", "15.00", 0},
        TLoadCase{"UnderflowReadsAsZero", "[Data]\r\nLeche=1E-60\r\n", TEntry::File, nullptr,
                  "vaca", "450", "0.00", 0},
        TLoadCase{"BeyondSinglePrecision", "[Data]\r\nTipo=2\r\nPeso=1E39\r\n", TEntry::File,
                  "Floating point overflow.", "antes", "600", "30.00", 1},
        TLoadCase{"NegativeBeyondSinglePrecision", "[Data]\r\nConsumo=-3.5E38\r\n", TEntry::File,
                  "Floating point overflow.", "antes", "600", "30.00", 1},
        TLoadCase{"BeyondExtendedPrecisionDoesNotParse", "[Data]\r\nLeche=1E5000\r\n", TEntry::File,
                  nullptr, "vaca", "450", "15.00", 0}),
    [](const testing::TestParamInfo<TLoadCase>& info) { return info.param.Label; });

enum class TSaveFault {
    SlashInName,
    NulInName,
    NameTooLong,
    FolderInPlace,
    ReadOnlyFile,
    ReadOnlyMedium,
    FullMedium,
    FullMediumNewName
};

struct TSaveCase {
    const char* Label;
    TSaveFault Fault;
    QString Name; // empty for the name a load left
};

void PrintTo(const TSaveCase& c, std::ostream* os) {
    *os << c.Label;
}

class TBadSave : public TBadInputFilesTest, public testing::WithParamInterface<TSaveCase> {
protected:
    // Sets the fault up beside the model file that a save before left; false to skip.
    bool Prepare(TSaveFault fault) {
        const bool onMedium = fault == TSaveFault::ReadOnlyMedium ||
                              fault == TSaveFault::FullMedium ||
                              fault == TSaveFault::FullMediumNewName;
        if (onMedium && !MountModelFolder())
            return false;
        StoreFile(Path("vaca.VM2"), Old);
        switch (fault) {
        case TSaveFault::FolderInPlace:
            fs::create_directory(Path("otra.VM2"));
            break;
        case TSaveFault::NameTooLong:
            // Typing stops at 50 characters; a name typed into the open dialog is taken whole,
            // without its last extension.
            Open(Path(std::string(252, 'v') + ".x"));
            break;
        case TSaveFault::ReadOnlyFile:
            fs::permissions(Path("vaca.VM2"), fs::perms::owner_read | fs::perms::others_read);
            break;
        case TSaveFault::ReadOnlyMedium:
            return mount(nullptr, FModelDir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        case TSaveFault::FullMedium:
            Fill(Path("relleno"), 1);
            break;
        case TSaveFault::FullMediumNewName:
            Fill(Path("relleno"), 0);
            break;
        default:
            break;
        }
        return true;
    }
    // Writes the file until the medium has no room left but the spare pages.
    static void Fill(const std::string& path, off_t spare) {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        const std::string block(Page, 'x');
        off_t size = 0;
        for (ssize_t written; (written = write(fd, block.data(), block.size())) > 0;)
            size += written;
        EXPECT_EQ(errno, ENOSPC);
        EXPECT_EQ(ftruncate(fd, size - spare * Page), 0);
        close(fd);
    }

    static constexpr off_t Page = 4096;
    // A page but for a few bytes: the twelve keys of a save take a second page, which one page
    // to spare cannot give, while its first keys alone would fit.
    const std::string Old = [] {
        std::string old = "[Data]\r\nTipo=1\r\nPeso=500\r\nNota=";
        old.append(Page - 56 - old.size() - 2, 'n');
        return old + "\r\n";
    }();
};

// The message names the file; the file that was there stays whole, byte for byte, nothing is
// added beside it, and the window keeps its name and calculates.
TEST_P(TBadSave, ReportsTheFileAndLosesNothing) {
    const TSaveCase& c = GetParam();
    if (!Prepare(c.Fault))
        GTEST_SKIP() << "mounting a file system is not permitted here";
    const std::vector<std::string> before = Entries();
    const std::optional<QString> typed = c.Name.isEmpty() ? std::nullopt : std::optional(c.Name);
    const std::vector<TModalAnswer::TBox> boxes = Save(typed);
    const QString name = Modelo()->text();
    if (typed) {
        EXPECT_EQ(name, *typed);
    }
    // The message is a C string: a name with a zero character shows up to that character.
    const QString shown = name.left(name.indexOf(QChar(0))) +
                          (name.contains(QChar(0)) ? QString() : QStringLiteral(".VM2"));
    ExpectOneErrorReport(boxes, QStringLiteral("Unable to write to ") +
                                    QString::fromStdString(FModelDir) + u'/' + shown + u'.');
    EXPECT_EQ(FileContents(Path("vaca.VM2")), Old);
    EXPECT_EQ(Entries(), before);
    EXPECT_EQ(Modelo()->text(), name);
    ExpectCalculates(*FWindow);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TBadSave,
    testing::Values(
        TSaveCase{"SlashInName", TSaveFault::SlashInName, QStringLiteral("falta/vaca")},
        TSaveCase{"NulInName", TSaveFault::NulInName,
                  QStringLiteral("vaca") + QChar(0) + QStringLiteral("x")},
        TSaveCase{"NameTooLong", TSaveFault::NameTooLong, QString()},
        TSaveCase{"FolderInPlaceOfTheFile", TSaveFault::FolderInPlace, QStringLiteral("otra")},
        TSaveCase{"ReadOnlyFile", TSaveFault::ReadOnlyFile, QStringLiteral("vaca")},
        TSaveCase{"ReadOnlyMedium", TSaveFault::ReadOnlyMedium, QStringLiteral("vaca")},
        TSaveCase{"FullMedium", TSaveFault::FullMedium, QStringLiteral("vaca")},
        TSaveCase{"FullMediumNewName", TSaveFault::FullMediumNewName, QStringLiteral("nueva")}),
    [](const testing::TestParamInfo<TSaveCase>& info) { return info.param.Label; });

// Starts the saver on the file; it saves the two animals in turn until it is killed.
pid_t StartSaver(const std::string& path) {
    std::string program = VESK_BINARY_DIR "/tests/model_saver";
    std::string file = path;
    char* argv[] = {program.data(), file.data(), nullptr};
    pid_t saver = 0;
    EXPECT_EQ(posix_spawn(&saver, argv[0], nullptr, nullptr, argv, environ), 0);
    return saver;
}

// The bytes of a save of the animal into a new file.
std::string SavedBytes(const TVeskDairy& animal) {
    TTempFolder folder("saved_animal");
    SaveModel(folder.Path() + "/animal.VM2", animal, '.');
    return FileContents(folder.Path() + "/animal.VM2");
}

// A save killed at any moment leaves the old animal or the new one, never a mixture; what a kill
// leaves of the save's temporary file is hidden, and the open dialog lists the model file alone.
TEST_F(TBadInputFilesTest, ASaveKilledAtAnyMomentLeavesOneWholeAnimal) {
    const std::string path = Path("vaca.VM2");
    SaveModel(path, FirstAnimal(), '.');
    const TVeskDairy animals[] = {FirstAnimal(), SecondAnimal()};
    const std::string saved[] = {SavedBytes(animals[0]), SavedBytes(animals[1])};
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> microseconds(0, 20000);
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t saver = StartSaver(path);
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds(random)));
        ::kill(saver, SIGKILL);
        int status = 0;
        waitpid(saver, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the saver ended by itself: " << status;
        for (const std::string& name : Entries()) {
            const bool hidden = name.starts_with('.');
            ASSERT_TRUE(hidden || name == "vaca.VM2") << name << " after kill " << kill;
        }
        const std::string bytes = FileContents(path);
        const int whole = bytes == saved[0] ? 0 : bytes == saved[1] ? 1 : -1;
        ASSERT_NE(whole, -1) << "after kill " << kill << ":\n" << bytes;
        TVeskDairy loaded;
        LoadModel(path, loaded, '.');
        ExpectInputs(loaded, animals[whole]);
    }
    const std::vector<std::string> names = Entries();
    ASSERT_GT(names.size(), 1u) << "no kill left a temporary file to look for";

    QStringList listed[2];
    ASSERT_TRUE(Open([&](QFileDialog& dialog) {
        for (int filter = 0; filter < 2; ++filter) {
            dialog.selectNameFilter(dialog.nameFilters().at(filter));
            listed[filter] = Listed(dialog, QStringLiteral("vaca.VM2"));
        }
        dialog.reject();
    }));
    EXPECT_EQ(listed[0], QStringList{QStringLiteral("vaca.VM2")});
    EXPECT_EQ(listed[1], QStringList{QStringLiteral("vaca.VM2")});
}

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
