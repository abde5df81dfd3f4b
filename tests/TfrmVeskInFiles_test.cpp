#include "ui/TfrmVeskIn.h"

#include "modal_answer.h"
#include "model/DefaultAnimal.h"
#include "model/FloatError.h"
#include "model_inputs.h"
#include "platform/regional.h"
#include "run_unprivileged.h"
#include "temp_folder.h"
#include "ui/TRadioGroup.h"

#include <QAction>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>

namespace fs = std::filesystem;

// Answers the open dialog once it is up: looks at it until look is content, then types the
// given name (a path, or a name in the dialog's folder) and accepts, or cancels for no name.
class TOpenDialogAnswer {
public:
    TOpenDialogAnswer(QString name, std::function<bool(QFileDialog&)> look = {})
        : FName(std::move(name)), FLook(std::move(look)) {
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || (FLook && !FLook(*dialog) && ++FTicks < 300))
                return;
            FLook = {};
            FAnswered = true;
            if (FName.isEmpty()) {
                dialog->reject();
                return;
            }
            auto* typed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(typed, nullptr);
            typed->setText(FName);
            static_cast<QDialog*>(dialog)->accept();
        });
        FTimer.start(10);
    }
    bool Answered() const { return FAnswered; }

private:
    QString FName;
    std::function<bool(QFileDialog&)> FLook;
    QTimer FTimer;
    int FTicks = 0;
    bool FAnswered = false;
};

// The window with its model folder in a temporary folder.
class TfrmVeskInFilesTest : public testing::Test {
protected:
    void Create(char separator) {
        SetRegional({separator, ""});
        FWindow = std::make_unique<TfrmVeskIn>();
        FWindow->PrepareModelDir(FModelDir);
    }
    void SetUp() override { Create('.'); }
    void TearDown() override { SetRegional({'.', ","}); }

    void Show() {
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }
    TVeskDairy& Dairy() { return *FWindow->FDairy; }
    std::string& ModelDir() { return FWindow->FModelDir; }
    const QString& OpenDir() { return FWindow->FOpenDir; }
    bool& Calculado() { return FWindow->FCalculado; }
    QTextEdit* Report() { return &FWindow->Report(); }
    void PrepareModelDir(const std::string& folder) { FWindow->PrepareModelDir(folder); }
    void SaveModel() { FWindow->SaveModel(); }
    void Accept(const std::string& path) { FWindow->FileOpen1Accept(QString::fromStdString(path)); }
    QLineEdit* Modelo() { return FWindow->Modelo; }
    std::string ModelName() { return Modelo()->text().toStdString(); }
    std::string ModelPath(const std::string& name) const { return FModelDir + "/" + name; }

    // Saves through the toolbar button, so that a failure meets the default error report.
    void ClickSave() {
        QWidget* button = FWindow->tbTipo->widgetForAction(FWindow->acSave);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void Save(const QString& name) {
        Modelo()->setText(name);
        FWindow->acSave->trigger();
    }
    void Open(const QString& name, std::function<bool(QFileDialog&)> look = {}) {
        TOpenDialogAnswer answer(name, std::move(look));
        FWindow->FileOpen1->trigger();
        EXPECT_TRUE(answer.Answered());
    }
    // An animal whose every field differs from the defaults and survives the inputs.
    void SetAnimal() {
        TVeskDairy& model = Dairy();
        model.Tipo = 0;
        model.Consumo = 12.5f;
        model.Peso = 600;
        model.Lactacion = 2;
        model.Leche = 32.5f;
        model.Grasa = 3.2f;
        model.Proteina = 3.05f;
        model.DIM = 40;
        model.Temperatura = 20.5f;
        model.GDP = 0.25f;
        // Not read from the inputs of a lactating cow: saved as the model holds them.
        model.ADG = 0.75f;
        model.Freshenning = 120;
        FWindow->ShowInputs();
    }

    TTempFolder FFolder{"files"};
    std::string FModelDir = FFolder.Path() + "/Modelos";
    std::unique_ptr<TfrmVeskIn> FWindow;
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

class TfrmVeskInFilesSeparator : public TfrmVeskInFilesTest,
                                 public testing::WithParamInterface<char> {
protected:
    void SetUp() override { Create(GetParam()); }
};

TEST_P(TfrmVeskInFilesSeparator, SavedAnimalLoadsBackThroughTheDialog) {
    SetAnimal();
    const TVeskDairy saved = Dairy();
    Save("vaca");
    EXPECT_EQ(FileContents(ModelPath("vaca.VM2")),
              "[Data]\r\n" + Separated(SavedAnimal, GetParam()));

    SetDefaultAnimal(Dairy());
    FWindow->ShowInputs();
    Modelo()->clear();
    Open(QString::fromStdString(ModelPath("vaca.VM2")));
    ExpectInputs(Dairy(), saved);
    EXPECT_EQ(ModelName(), "vaca");
    EXPECT_EQ(FWindow->findChild<TRadioGroup*>("rgLact")->ItemIndex(), 2);
}

INSTANTIATE_TEST_SUITE_P(Separators, TfrmVeskInFilesSeparator, testing::Values('.', ','));

TEST_F(TfrmVeskInFilesTest, SavingKeepsWhatWasAddedByHand) {
    StoreFile(ModelPath("vaca.VM2"), "; notas\r\n[Otra]\r\nx=1\r\n[data]\r\nNota=hola\r\nPeso=1\r\n"
                                     "\r\n[Fin]\r\ny=2\r\n");
    SetAnimal();
    Save("vaca");
    Dairy().Peso = 500;
    FWindow->ShowInputs();
    Save("vaca");
    EXPECT_EQ(FileContents(ModelPath("vaca.VM2")),
              "; notas\r\n[Otra]\r\nx=1\r\n[data]\r\nNota=hola\r\nPeso=500\r\nTipo=0\r\n"
              "Consumo=12.5\r\nLactacion=2\r\nLeche=32.5\r\nGrasa=3.20000004768372\r\n"
              "Proteina=3.04999995231628\r\nDIM=40\r\nTemperatura=20.5\r\nGDP=0.25\r\nADG=0.75\r\n"
              "Freshenning=120\r\n\r\n[Fin]\r\ny=2\r\n");
    EXPECT_EQ(FFolder.Entries(), 1);
}

TEST_F(TfrmVeskInFilesTest, NameKeepsItsBlanksInTheFileName) {
    Save("  vaca  ");
    EXPECT_TRUE(fs::is_regular_file(ModelPath("  vaca  .VM2")));
    EXPECT_EQ(fs::directory_iterator(FModelDir)->path().filename(), "  vaca  .VM2");
    EXPECT_EQ(ModelName(), "  vaca  ");
}

class TfrmVeskInFilesNoName : public TfrmVeskInFilesTest,
                              public testing::WithParamInterface<const char*> {};

TEST_P(TfrmVeskInFilesNoName, AsksForANameAndWritesNothing) {
    TModalAnswer answer;
    Save(QString::fromLatin1(GetParam()));
    ASSERT_EQ(answer.Boxes().size(), 1u);
    const TModalAnswer::TBox& box = answer.Boxes().front();
    EXPECT_EQ(box.Title, QStringLiteral("Error"));
    EXPECT_EQ(box.Text, QStringLiteral("Debe poner un nombre al modelo."));
    EXPECT_EQ(box.Icon, QMessageBox::Critical);
    EXPECT_EQ(box.Buttons, QMessageBox::Ok);
    EXPECT_TRUE(fs::is_empty(FModelDir));
}

INSTANTIATE_TEST_SUITE_P(Names, TfrmVeskInFilesNoName, testing::Values("", "   ", "\t \x01\x1f"));

TEST_F(TfrmVeskInFilesTest, MissingFolderReachesTheErrorReport) {
    Show();
    ModelDir() = FFolder.Path() + "/falta";
    Modelo()->setText(QStringLiteral("vaca"));
    TModalAnswer answer;
    ClickSave();
    ASSERT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(answer.Boxes().front().Title, QStringLiteral("Rumiva - Vesk"));
    EXPECT_EQ(answer.Boxes().front().Text,
              QString::fromStdString("Unable to write to " + FFolder.Path() + "/falta/vaca.VM2."));
    EXPECT_FALSE(fs::exists(FFolder.Path() + "/falta"));
}

// Root writes into any folder, so the save runs in a child without privileges.
TEST_F(TfrmVeskInFilesTest, ReadOnlyFolderKeepsTheOldFileWhole) {
    const std::string old = "[Data]\r\nTipo=1\r\n";
    StoreFile(ModelPath("vaca.VM2"), old);
    fs::permissions(FFolder.Path(), fs::perms::owner_all | fs::perms::others_exec);
    fs::permissions(FModelDir,
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    Modelo()->setText(QStringLiteral("vaca"));
    const std::string expected = "Unable to write to " + ModelPath("vaca.VM2");
    EXPECT_TRUE(RunUnprivileged([&] {
        try {
            SaveModel();
        } catch (const std::runtime_error& failure) {
            return failure.what() == expected;
        }
        return false;
    }));
    EXPECT_EQ(FileContents(ModelPath("vaca.VM2")), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(FModelDir), fs::directory_iterator()), 1);
}

TEST_F(TfrmVeskInFilesTest, DialogStartsInTheModelFolderAndListsSavedModels) {
    for (const char* name : {"vaca", "toro"})
        Save(QString::fromLatin1(name));
    StoreFile(ModelPath("novilla.vm2"), "[Data]\r\nTipo=2\r\n");
    StoreFile(ModelPath("notas.txt"), "");
    std::set<std::string> listed;
    Open(QString(), [&](QFileDialog& dialog) {
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
        if (!files)
            return true;
        listed.clear();
        const QModelIndex folder = files->index(QString::fromStdString(FModelDir));
        for (int row = 0; row < files->rowCount(folder); ++row) {
            const QModelIndex file = files->index(row, 0, folder);
            if (files->flags(file) & Qt::ItemIsEnabled)
                listed.insert(files->fileName(file).toStdString());
        }
        return listed.size() >= 3;
    });
    EXPECT_EQ(listed, (std::set<std::string>{"novilla.vm2", "toro.VM2", "vaca.VM2"}));
}

TEST_F(TfrmVeskInFilesTest, CancelledDialogLoadsNothing) {
    SetAnimal();
    const TVeskDairy before = Dairy();
    Modelo()->setText(QStringLiteral("vaca"));
    Open(QString());
    ExpectInputs(Dairy(), before);
    EXPECT_EQ(ModelName(), "vaca");
}

// A typed name of no file loads every default and shows that name.
TEST_F(TfrmVeskInFilesTest, TypedNameOfNoFileLoadsTheDefaults) {
    SetAnimal();
    Open(QStringLiteral("nueva"));
    EXPECT_EQ(ModelName(), "nueva");
    EXPECT_EQ(Dairy().Leche, 15.0f);
    EXPECT_EQ(Dairy().Peso, 450.0f);
    EXPECT_EQ(Dairy().Consumo, 10.0f);
    EXPECT_EQ(Dairy().Grasa, 3.5f);
    EXPECT_EQ(Dairy().Lactacion, 1);
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
    EXPECT_EQ(FWindow->findChild<TRadioGroup*>("rgTipo")->ItemIndex(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TfrmVeskInFilesLoadedName,
    testing::Values(TNameCase{"vaca.1.VM2", "vaca.1"}, TNameCase{"vaca", "vaca"},
                    TNameCase{"una vaca de nombre muy largo, mucho más de cincuenta letras.VM2",
                              "una vaca de nombre muy largo, mucho más de cincuenta letras"}));

TEST_F(TfrmVeskInFilesTest, LoadingKeepsTheReportAndTheCalculatedState) {
    Calculado() = true;
    Report()->setPlainText(QStringLiteral("informe"));
    Accept(ModelPath("falta.VM2"));
    EXPECT_TRUE(Calculado());
    EXPECT_EQ(Report()->toPlainText(), QStringLiteral("informe"));
}

TEST_F(TfrmVeskInFilesTest, OverflowingValueStopsTheLoadBeforeTheNameAndInputs) {
    StoreFile(ModelPath("vaca.VM2"), "[Data]\r\nTipo=1\r\nPeso=1E39\r\n");
    Modelo()->setText(QStringLiteral("antes"));
    EXPECT_THROW(Accept(ModelPath("vaca.VM2")), EOverflow);
    EXPECT_EQ(ModelName(), "antes");
    EXPECT_EQ(Dairy().Tipo, 1);
    EXPECT_EQ(FWindow->findChild<TRadioGroup*>("rgTipo")->ItemIndex(), 0);
}

TEST_F(TfrmVeskInFilesTest, ModelFolderIsCreatedOneLevelDeep) {
    const std::string folder = FFolder.Path() + "/otra";
    PrepareModelDir(folder);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(OpenDir(), QString::fromStdString(folder));
    PrepareModelDir(folder);
    EXPECT_EQ(ModelDir(), folder);
}

class TfrmVeskInFilesBadFolder : public TfrmVeskInFilesTest,
                                 public testing::WithParamInterface<const char*> {};

TEST_P(TfrmVeskInFilesBadFolder, CannotBeCreated) {
    StoreFile(FFolder.Path() + "/archivo", "");
    const std::string folder = FFolder.Path() + GetParam();
    try {
        PrepareModelDir(folder);
        ADD_FAILURE() << "created " << folder;
    } catch (const std::runtime_error& failure) {
        EXPECT_EQ(failure.what(), "No se puede crear " + folder);
    }
    EXPECT_EQ(ModelDir(), folder);
    EXPECT_EQ(OpenDir(), QString::fromStdString(FModelDir));
}

INSTANTIATE_TEST_SUITE_P(Folders, TfrmVeskInFilesBadFolder,
                         testing::Values("/archivo", "/falta/Modelos"));

} // namespace
