#include "herd_readback.h"
#include "modal_answer.h"
#include "model_inputs.h"
#include "temp_folder.h"
#include "window_calculation.h"
#include "window_test.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The limits table that vesk-calc writes for the herd file, as CSV.
std::string HerdCsv(const std::string& path, char separator) {
    const std::string command = std::string(VESK_BINARY_DIR "/vesk-calc --herd '") + path +
                                "' --decimal-separator '" + separator + "' 2>/dev/null";
    std::string csv;
    FILE* pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    if (!pipe)
        return csv;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        csv.append(buffer, n);
    pclose(pipe);
    return csv;
}

} // namespace

// The window with its workbooks in a folder of the test, and an opener that records what it was
// given to show.
class TfrmVeskInHerdTest : public TWindowTest {
protected:
    void SetUp() override {
        setenv("TMPDIR", FTemp.Path().c_str(), 1);
        CreateShown('.');
    }
    void TearDown() override {
        FWindow.reset();
        unsetenv("TMPDIR");
        TWindowTest::TearDown();
    }
    void CreateShown(char separator) {
        Create(separator);
        FWindow->SetSheetOpener([this](const std::string& path) {
            FOpened.push_back(path);
            return true;
        });
        Show();
    }

    // Runs "Calcular lote..." and hands its dialog to answer; gives the message boxes shown.
    std::vector<TModalAnswer::TBox> CalculateHerd(const std::function<void(QFileDialog&)>& answer) {
        const TModalAnswer boxes;
        Activate();
        EXPECT_TRUE(AnswerDialog<QFileDialog>([&] { Find<QAction>("acLote")->trigger(); }, answer));
        return boxes.Boxes();
    }
    // Chooses the file in the dialog as the user types its path.
    static std::function<void(QFileDialog&)> Choose(const std::string& path) {
        return [path](QFileDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(QString::fromStdString(path));
            static_cast<QDialog&>(dialog).accept();
        };
    }
    // The files of the workbook folders under the test's temporary directory.
    std::vector<std::string> Workbooks() const {
        std::vector<std::string> files;
        for (const auto& folder : fs::directory_iterator(FTemp.Path()))
            if (folder.is_directory())
                for (const auto& file : fs::directory_iterator(folder.path()))
                    files.push_back(file.path().string());
        return files;
    }

    TTempFolder FTemp{"herd"};
    TTempFolder FTables{"tablas"};
    std::vector<std::string> FOpened;
};

namespace {

TEST_F(TfrmVeskInHerdTest, CommandFollowsTheTwoActionsWithItsHintAndTheCalculationIcon) {
    QMenu* acciones = nullptr;
    for (QAction* item : FWindow->menuBar()->actions())
        if (item->text() == QStringLiteral("&Acciones"))
            acciones = item->menu();
    ASSERT_NE(acciones, nullptr);
    QStringList names;
    for (const QAction* item : acciones->actions())
        names << item->objectName();
    EXPECT_EQ(names, (QStringList{"acCalc", "acPrt", "acLote"}));
    const QAction* lote = Find<QAction>("acLote");
    EXPECT_EQ(lote->text(), QStringLiteral("Calcular lote..."));
    EXPECT_EQ(lote->toolTip(), QStringLiteral("Calcular lote"));
    EXPECT_EQ(lote->statusTip(),
              QStringLiteral("Calcula los límites de un lote de animales desde una tabla"));
    EXPECT_TRUE(lote->shortcut().isEmpty());
    EXPECT_EQ(lote->icon().pixmap(32).toImage(),
              Find<QAction>("acCalc")->icon().pixmap(32).toImage());
}

// The dialog opens where "Cargar modelo..." does, in the model folder; cancelling it does nothing.
TEST_F(TfrmVeskInHerdTest, DialogOfHerdTablesStartsInTheModelFolder) {
    QString modelFolder;
    EXPECT_TRUE(AnswerDialog<QFileDialog>([&] { Find<QAction>("FileOpen1")->trigger(); },
                                          [&](QFileDialog& dialog) {
                                              modelFolder = dialog.directory().absolutePath();
                                              dialog.reject();
                                          }));
    const std::vector<TModalAnswer::TBox> boxes = CalculateHerd([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Abrir tabla de lote"));
        EXPECT_EQ(dialog.nameFilters(),
                  (QStringList{"Tablas de lote (*.csv *.txt)", "Todos los archivos (*)"}));
        EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("Tablas de lote (*.csv *.txt)"));
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(dialog.directory().absolutePath(), modelFolder);
        dialog.reject();
    });
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(FOpened.empty());
}

// The workbook shown holds what vesk-calc --herd writes for the file, with the window's decimal
// separator; the box counts the failed rows. The window's own calculation is not touched.
TEST_F(TfrmVeskInHerdTest, HerdChosenInTheDialogGivesTheWorkbookOfItsCsv) {
    for (const char separator : {'.', ','}) {
        CreateShown(separator);
        FOpened.clear();
        const std::string table =
            separator == '.'
                ? "Nombre;Tipo;Peso;Grasa;Consumo\nVaca 1;0;450;3.5;10\nMala;0;6OO;4;12\n"
                  "Seca;1;650;;12\n;2;350;;8.25\n"
                : "Nombre;Tipo;Peso;Grasa;Consumo\nVaca 1;0;450;3,5;10\nMala;0;6OO;4;12\n"
                  "Seca;1;650;;12\n;2;350;;8,25\n";
        const std::string path = FTables.Path() + "/lote.csv";
        StoreFile(path, table);
        const TVeskDairy before = Dairy();
        bool progress = false;
        std::vector<TModalAnswer::TBox> boxes;
        AnswerDialog<QProgressDialog>([&] { boxes = CalculateHerd(Choose(path)); },
                                      [&](QProgressDialog&) { progress = true; });
        EXPECT_FALSE(progress) << "a small herd shows no progress";
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Title, QStringLiteral("Calcular lote"));
        EXPECT_EQ(boxes[0].Text, QStringLiteral("1 de los 4 animales del lote no se pudo calcular. "
                                                "La columna Error del libro dice por qué."));
        EXPECT_EQ(boxes[0].Icon, QMessageBox::Warning);
        ASSERT_EQ(FOpened.size(), 1u);
        EXPECT_EQ(fs::path(FOpened[0]).filename(), "lote.xlsx");
        EXPECT_EQ(fs::path(FOpened[0]).parent_path().parent_path(), fs::path(FTemp.Path()));
        ExpectHerdSheet(ReadXlsx(FOpened[0]), HerdCsv(path, separator), ';');

        ExpectInputs(Dairy(), before);
        EXPECT_EQ(Dairy().ConsumoEstimado, before.ConsumoEstimado);
        EXPECT_EQ(Dairy().ProteinaCruda.Min, before.ProteinaCruda.Min);
        Idle();
        EXPECT_FALSE(Find<QAction>("acExcel")->isEnabled()) << "the window counts as calculated";
        EXPECT_EQ(FWindow->findChild<QTextEdit*>(QStringLiteral("M")), nullptr);
        EXPECT_EQ(CurrentPage()->objectName(), QStringLiteral("tsTipo"));
    }
}

TEST_F(TfrmVeskInHerdTest, FileThatIsNoHerdGivesItsMessage) {
    const struct {
        const char* Table;
        const char* Message;
    } cases[] = {
        {"Arete;Corral\n1;2\n", "no es una tabla de lote, su cabecera no tiene ninguna de las "
                                "columnas Tipo, Consumo, Peso, Lactacion, Leche, Grasa, Proteina, "
                                "DIM, Temperatura, GDP, ADG, Freshenning."},
        {"", "no es una tabla de lote, no tiene ninguna línea."},
    };
    for (const auto& c : cases) {
        const std::string path = FTables.Path() + "/arete.csv";
        StoreFile(path, c.Table);
        ExpectOneErrorReport(CalculateHerd(Choose(path)),
                             QString::fromStdString(path + ": " + c.Message));
        EXPECT_TRUE(FOpened.empty());
        EXPECT_TRUE(Workbooks().empty());
    }
}

// A herd that takes its time shows its progress; cancelling it writes nothing and shows nothing.
TEST_F(TfrmVeskInHerdTest, LongHerdShowsItsProgressAndItsCancelWritesNothing) {
    const std::string path = FTables.Path() + "/grande.csv";
    {
        std::string table = "Nombre;Tipo;Peso;Leche;Consumo\n";
        for (int i = 0; i < 300000; ++i)
            table += "Vaca " + std::to_string(i) + ";" + std::to_string(i % 3) + ";" +
                     std::to_string(400 + i % 300) + ";" + std::to_string(i % 40) + ";12\n";
        StoreFile(path, table);
    }
    QString title;
    QString cancel;
    std::vector<TModalAnswer::TBox> boxes;
    EXPECT_TRUE(AnswerDialog<QProgressDialog>([&] { boxes = CalculateHerd(Choose(path)); },
                                              [&](QProgressDialog& dialog) {
                                                  title = dialog.windowTitle();
                                                  if (auto* button =
                                                          dialog.findChild<QPushButton*>())
                                                      cancel = button->text();
                                                  dialog.cancel();
                                              }));
    EXPECT_EQ(title, QStringLiteral("Calcular lote"));
    EXPECT_EQ(cancel, QStringLiteral("Cancelar"));
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(FOpened.empty());
    EXPECT_TRUE(Workbooks().empty());
}

} // namespace
