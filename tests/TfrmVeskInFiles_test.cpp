#include "ui/TfrmVeskIn.h"

#include "modal_answer.h"
#include "model/FloatError.h"
#include "model_inputs.h"
#include "platform/regional.h"
#include "run_unprivileged.h"
#include "temp_folder.h"
#include "ui/TNumericEdit.h"
#include "ui/TRadioGroup.h"
#include "window_calculation.h"
#include "window_test.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Documents() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

std::string Home() {
    return QDir::homePath().toStdString();
}

} // namespace

// The window with its models in the documents folder of the test program's own home.
class TfrmVeskInFilesTest : public TWindowTest {
protected:
    void SetUp() override { Create('.'); }
    void TearDown() override {
        FWindow.reset();
        std::error_code ignored;
        fs::remove_all(Home() + "/Documents", ignored);
        fs::remove_all(Home() + "/.config", ignored);
        TWindowTest::TearDown();
    }

    QLineEdit* Modelo() const { return Find<QLineEdit>("Modelo"); }
    std::string ModelName() const { return Modelo()->text().toStdString(); }
    std::string ModelPath(const std::string& name) const { return FModelDir + "/" + name; }
    int Tipo() const { return Find<TRadioGroup>("rgTipo")->ItemIndex(); }

    // Puts the name into Modelo and presses the save button; gives the message boxes shown.
    std::vector<TModalAnswer::TBox> Save(const QString& name) {
        Modelo()->setText(name);
        TModalAnswer answer;
        Press("tbTipo", "acSave");
        return answer.Boxes();
    }
    // Runs "Cargar modelo..." and hands its dialog to answer, which closes it.
    void Open(const std::function<void(QFileDialog&)>& answer) {
        EXPECT_TRUE(
            AnswerDialog<QFileDialog>([&] { Find<QAction>("FileOpen1")->trigger(); }, answer));
    }
    // Types name (a path, or a name in the dialog's folder) into the dialog and accepts it.
    void Open(const QString& name) {
        Open([&](QFileDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
            static_cast<QDialog&>(dialog).accept();
        });
    }
    void Accept(const std::string& path) { FWindow->FileOpen1Accept(QString::fromStdString(path)); }
    // Loads an animal whose every field differs from the defaults and survives the inputs,
    // with the current separator; ADG and Freshenning are not read from the inputs of a
    // lactating cow, so a save writes them as loaded.
    void LoadAnimal(char separator = '.');

    std::string FModelDir = Documents() + "/Vesk/Modelos";
};

namespace {

std::string Separated(std::string text, char separator) {
    for (char& c : text)
        if (c == '.')
            c = separator;
    return text;
}

const std::string SavedAnimal =
    "Tipo=0\r\nConsumo=12.5\r\nPeso=600\r\nLactacion=2\r\nLeche=32.5\r\n"
    "Grasa=3.20000004768372\r\nProteina=3.04999995231628\r\nDIM=40\r\n"
    "Temperatura=20.5\r\nGDP=0.25\r\nADG=0.75\r\nFreshenning=120\r\n";

} // namespace

void TfrmVeskInFilesTest::LoadAnimal(char separator) {
    TTempFolder folder("animal");
    const std::string path = folder.Path() + "/animal.VM2";
    StoreFile(path, "[Data]\r\n" + Separated(SavedAnimal, separator));
    Accept(path);
}

namespace {

TEST_F(TfrmVeskInFilesTest, StartUpCreatesTheModelFolderInTheDocuments) {
    EXPECT_TRUE(fs::is_directory(FModelDir));
}

// A Spanish session names the documents folder in its user-dirs file.
TEST_F(TfrmVeskInFilesTest, DocumentsFolderOfTheSessionTakesTheModels) {
    fs::create_directories(Home() + "/.config");
    StoreFile(Home() + "/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Documentos\"\n");
    Create('.');
    EXPECT_TRUE(Save(QStringLiteral("vaca")).empty());
    EXPECT_TRUE(fs::is_regular_file(Home() + "/Documentos/Vesk/Modelos/vaca.VM2"));
    fs::remove_all(Home() + "/Documentos");
}

class TfrmVeskInFilesSeparator : public TfrmVeskInFilesTest,
                                 public testing::WithParamInterface<char> {
protected:
    void SetUp() override { Create(GetParam()); }
};

TEST_P(TfrmVeskInFilesSeparator, SavedAnimalLoadsBackThroughTheDialog) {
    LoadAnimal(GetParam());
    const TVeskDairy loaded = Dairy();
    EXPECT_TRUE(Save(QStringLiteral("vaca")).empty());
    EXPECT_EQ(FileContents(ModelPath("vaca.VM2")),
              "[Data]\r\n" + Separated(SavedAnimal, GetParam()));

    Open(QStringLiteral("nueva"));
    EXPECT_EQ(Dairy().Peso, 450.0f);
    Open(QString::fromStdString(ModelPath("vaca.VM2")));
    ExpectInputs(Dairy(), loaded);
    EXPECT_EQ(ModelName(), "vaca");
    EXPECT_EQ(Find<TRadioGroup>("rgLact")->ItemIndex(), 2);
}

INSTANTIATE_TEST_SUITE_P(Separators, TfrmVeskInFilesSeparator, testing::Values('.', ','));

TEST_F(TfrmVeskInFilesTest, SavingKeepsWhatWasAddedByHand) {
    StoreFile(ModelPath("vaca.VM2"), "; notas\r\n[Otra]\r\nx=1\r\n[data]\r\nNota=hola\r\nPeso=1\r\n"
                                     "\r\n[Fin]\r\ny=2\r\n");
    LoadAnimal();
    Save(QStringLiteral("vaca"));
    Type("ilPeso", "500");
    Save(QStringLiteral("vaca"));
    EXPECT_EQ(FileContents(ModelPath("vaca.VM2")),
              "; notas\r\n[Otra]\r\nx=1\r\n[data]\r\nNota=hola\r\nPeso=500\r\nTipo=0\r\n"
              "Consumo=12.5\r\nLactacion=2\r\nLeche=32.5\r\nGrasa=3.20000004768372\r\n"
              "Proteina=3.04999995231628\r\nDIM=40\r\nTemperatura=20.5\r\nGDP=0.25\r\nADG=0.75\r\n"
              "Freshenning=120\r\n\r\n[Fin]\r\ny=2\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(FModelDir), fs::directory_iterator()), 1);
}

TEST_F(TfrmVeskInFilesTest, NameKeepsItsBlanksInTheFileName) {
    Save(QStringLiteral("  vaca  "));
    EXPECT_TRUE(fs::is_regular_file(ModelPath("  vaca  .VM2")));
    EXPECT_EQ(fs::directory_iterator(FModelDir)->path().filename(), "  vaca  .VM2");
    EXPECT_EQ(ModelName(), "  vaca  ");
}

class TfrmVeskInFilesNoName : public TfrmVeskInFilesTest,
                              public testing::WithParamInterface<const char*> {};

TEST_P(TfrmVeskInFilesNoName, AsksForANameAndWritesNothing) {
    const std::vector<TModalAnswer::TBox> boxes = Save(QString::fromLatin1(GetParam()));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes.front().Title, QStringLiteral("Error"));
    EXPECT_EQ(boxes.front().Text, QStringLiteral("Debe poner un nombre al modelo."));
    EXPECT_EQ(boxes.front().Icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.front().Buttons, QMessageBox::Ok);
    EXPECT_TRUE(fs::is_empty(FModelDir));
}

INSTANTIATE_TEST_SUITE_P(Names, TfrmVeskInFilesNoName, testing::Values("", "   ", "\t \x01\x1f"));

// The folder is made at start-up only: a save into one removed since fails, as it did.
TEST_F(TfrmVeskInFilesTest, RemovedFolderReachesTheErrorReport) {
    fs::remove_all(FModelDir);
    ExpectOneErrorReport(
        Save(QStringLiteral("vaca")),
        QString::fromStdString("Unable to write to " + ModelPath("vaca.VM2") + "."));
    EXPECT_FALSE(fs::exists(FModelDir));
}

// Root writes into any folder, so the save runs in a child without privileges.
TEST_F(TfrmVeskInFilesTest, ReadOnlyFolderKeepsTheOldFileWhole) {
    const std::string old = "[Data]\r\nTipo=1\r\n";
    StoreFile(ModelPath("vaca.VM2"), old);
    const fs::perms reach = fs::perms::owner_all | fs::perms::others_exec;
    for (const std::string& folder : {Home(), Documents(), Documents() + "/Vesk"})
        fs::permissions(folder, reach);
    fs::permissions(FModelDir, reach | fs::perms::others_read);
    Modelo()->setText(QStringLiteral("vaca"));
    const QString expected =
        QString::fromStdString("Unable to write to " + ModelPath("vaca.VM2") + ".");
    EXPECT_TRUE(RunUnprivileged([&] {
        const std::vector<TModalAnswer::TBox> boxes = Save(QStringLiteral("vaca"));
        return boxes.size() == 1 && boxes.front().Text == expected;
    }));
    fs::permissions(FModelDir, fs::perms::owner_all);
    EXPECT_EQ(FileContents(ModelPath("vaca.VM2")), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(FModelDir), fs::directory_iterator()), 1);
}

TEST_F(TfrmVeskInFilesTest, DialogStartsInTheModelFolderAndListsSavedModels) {
    for (const char* name : {"vaca", "toro"})
        Save(QString::fromLatin1(name));
    StoreFile(ModelPath("novilla.vm2"), "[Data]\r\nTipo=2\r\n");
    StoreFile(ModelPath("notas.txt"), "");
    std::set<std::string> listed;
    Open([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Cargar archivo de modelo"));
        EXPECT_EQ(dialog.nameFilters(),
                  QStringList({QStringLiteral("Archivos de modelo Vesk (*.vm2)"),
                               QStringLiteral("Todos los archivos (*.*)")}));
        EXPECT_EQ(dialog.selectedNameFilter(), dialog.nameFilters().constFirst());
        EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("vm2"));
        EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog.directory().absolutePath(), QString::fromStdString(FModelDir));
        auto* files = dialog.findChild<QFileSystemModel*>();
        // The dialog reads its folder in the background.
        EXPECT_TRUE(files && QTest::qWaitFor([&] {
                        listed.clear();
                        const QModelIndex folder = files->index(QString::fromStdString(FModelDir));
                        for (int row = 0; row < files->rowCount(folder); ++row) {
                            const QModelIndex file = files->index(row, 0, folder);
                            if (files->flags(file) & Qt::ItemIsEnabled)
                                listed.insert(files->fileName(file).toStdString());
                        }
                        return listed.size() >= 3;
                    }));
        dialog.reject();
    });
    EXPECT_EQ(listed, (std::set<std::string>{"novilla.vm2", "toro.VM2", "vaca.VM2"}));
}

TEST_F(TfrmVeskInFilesTest, CancelledDialogLoadsNothing) {
    LoadAnimal();
    const TVeskDairy before = Dairy();
    Modelo()->setText(QStringLiteral("vaca"));
    Open([](QFileDialog& dialog) { dialog.reject(); });
    ExpectInputs(Dairy(), before);
    EXPECT_EQ(ModelName(), "vaca");
}

// A typed name of no file loads every default and shows that name.
TEST_F(TfrmVeskInFilesTest, TypedNameOfNoFileLoadsTheDefaults) {
    LoadAnimal();
    Open(QStringLiteral("nueva"));
    const TVeskDairy& model = Dairy();
    EXPECT_EQ(ModelName(), "nueva");
    EXPECT_EQ(model.Leche, 15.0f);
    EXPECT_EQ(model.Peso, 450.0f);
    EXPECT_EQ(model.Consumo, 10.0f);
    EXPECT_EQ(model.Grasa, 3.5f);
    EXPECT_EQ(model.Lactacion, 1);
}

struct TNameCase {
    const char* File;
    const char* Name;
};

class TfrmVeskInFilesLoadedName : public TfrmVeskInFilesTest,
                                  public testing::WithParamInterface<TNameCase> {};

TEST_P(TfrmVeskInFilesLoadedName, IsTheFileNameWithoutItsLastExtension) {
    StoreFile(ModelPath(GetParam().File), "[Data]\r\nTipo=258\r\n");
    Accept(ModelPath(GetParam().File));
    EXPECT_EQ(ModelName(), GetParam().Name);
    EXPECT_EQ(Dairy().Tipo, 2);
    EXPECT_EQ(Tipo(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TfrmVeskInFilesLoadedName,
    testing::Values(TNameCase{"vaca.1.VM2", "vaca.1"}, TNameCase{"vaca", "vaca"},
                    TNameCase{"una vaca de nombre muy largo, mucho más de cincuenta letras.VM2",
                              "una vaca de nombre muy largo, mucho más de cincuenta letras"}));

TEST_F(TfrmVeskInFilesTest, LoadingKeepsTheReportAndTheCalculatedState) {
    Show();
    ExpectCalculates(*FWindow);
    const QString report = Find<QTextEdit>("M")->toPlainText();
    Accept(ModelPath("falta.VM2"));
    EXPECT_EQ(Dairy().Leche, 15.0f);
    EXPECT_EQ(Find<QTextEdit>("M")->toPlainText(), report);
    Idle();
    EXPECT_TRUE(Find<QAction>("acExcel")->isEnabled());
}

TEST_F(TfrmVeskInFilesTest, OverflowingValueStopsTheLoadBeforeTheNameAndInputs) {
    StoreFile(ModelPath("vaca.VM2"), "[Data]\r\nTipo=1\r\nPeso=1E39\r\n");
    Modelo()->setText(QStringLiteral("antes"));
    EXPECT_THROW(Accept(ModelPath("vaca.VM2")), EOverflow);
    EXPECT_EQ(ModelName(), "antes");
    EXPECT_EQ(Dairy().Tipo, 1);
    EXPECT_EQ(Tipo(), 0);
}

// What stands in the way of the model folder in the user's home.
class TfrmVeskInFilesBlockedDocuments : public TfrmVeskInFilesTest,
                                        public testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {}
};

TEST_P(TfrmVeskInFilesBlockedDocuments, StartUpReportsTheFolderAndSavesFail) {
    fs::create_directories(fs::path(Home() + GetParam()).parent_path());
    StoreFile(Home() + GetParam(), "");
    {
        TModalAnswer answer;
        Create('.');
        ExpectOneErrorReport(answer.Boxes(),
                             QString::fromStdString("No se puede crear " + FModelDir + "."));
    }
    // The rest of the start-up was skipped: no state is selected.
    EXPECT_EQ(Tipo(), -1);
    Open([&](QFileDialog& dialog) {
        EXPECT_NE(dialog.directory().absolutePath(), QString::fromStdString(FModelDir));
        dialog.reject();
    });
    ExpectOneErrorReport(
        Save(QStringLiteral("vaca")),
        QString::fromStdString("Unable to write to " + ModelPath("vaca.VM2") + "."));
}

INSTANTIATE_TEST_SUITE_P(Blocks, TfrmVeskInFilesBlockedDocuments,
                         testing::Values("/Documents", "/Documents/Vesk",
                                         "/Documents/Vesk/Modelos"));

} // namespace
