#pragma once

#include "exchange/UProcs02.h"
#include "model/UVesk.h"
#include "ui/ImageList.h"
#include "ui/TTableModel.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QActionGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QStatusBar;
class QTabWidget;
class QTextEdit;
class QToolBar;
class QToolButton;
class TDBGrid;
class TFontDialog;
class TNumericEdit;
class TRadioGroup;
class TSpreadsheetExport;
class TTabSheet;

// The main window: the animal page with its live estimate, the report and the restrictions
// pages, and every command of the program.
class TfrmVeskIn : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmVeskIn(QWidget* parent = nullptr);
    ~TfrmVeskIn() override;

    // Inputs to model; a conversion error is reported in its own box and stops the copy.
    void ReadInputs();
    // Model to inputs, then one estimate.
    void ShowInputs();
    // Reads the inputs, estimates the intake, shows it and recolours the offered intake.
    void UpdateEstimate();
    // Colours the offered intake red when it lies too far from the estimate.
    void CheckOffered();
    // The model as the window holds it, for reading.
    const TVeskDairy& Dairy() const { return *FDairy; }
    // Loads fileName as accepting it in the open dialog does: the model, its name, the inputs.
    void FileOpen1Accept(const QString& fileName);

    // Shows a saved workbook file to the user; false when nothing can open it.
    using TSheetOpener = std::function<bool(const std::string& path)>;
    // Replaces the desktop's default handler, which the window starts with.
    void SetSheetOpener(TSheetOpener opener) { FSheetOpener = std::move(opener); }

private:
    void FormCreate();

    void CreateLayout();
    void CreateToolbars();
    void CreatePages();
    // The report and the restrictions pages are filled at their first use: a window that is
    // never calculated does not pay for the text view, its fixed-pitch font and the grid.
    QTextEdit& Report();
    TDBGrid& Grid();
    void CreateReportPage();
    void CreateGridPage();
    void CreateModelPage(QWidget* page);
    void CreateProductionGroups(QWidget* page);
    void CreateStateGroups(QWidget* page);
    void CreateMenu();

    void CreateActions();
    QAction* CreateAction(const char* name, const QString& caption, const QString& hint,
                          TImageIndex icon);
    void UpdateActions();

    void ConnectInputs();
    // Shows the model's estimate in ilEst and recolours the offered intake.
    void ShowEstimate();
    void rgTipoClick();
    void ilPesoChange();
    void ilConsChange();
    void SpeedButton1Click();

    void ConnectPrint();
    QPrinter& Printer();
    TFontDialog& FontDialog();
    void RichEditBold1Execute();
    void RichEditItalic1Execute();
    // Enables bold and italic while the report has the focus; checks them after its selection.
    void RichEditUpdate();
    void FontEdit1Execute();
    void FontEdit1BeforeExecute();
    void FontEdit1Accept();
    void FontEdit1FontDialogApply();
    // Colour, name and size between the report's selection and the font dialog; never the style.
    void FontToDialog();
    void DialogToFont();
    void FilePrintSetup1Execute();
    void acPrtUpdate();
    void acPrtExecute();

    void ConnectExport();
    void acExcelUpdate();
    void acExcelExecute();
    // Asks for a herd table, calculates its animals into a workbook and shows it; the model, the
    // inputs, the report and the restrictions stay as they are.
    void acLoteExecute();
    void CalculateHerd(const QString& fileName);
    // The folder of model files, "Modelos" beside the program or the user's own in their
    // documents, created when missing.
    void PrepareModelDir();
    void PrepareModelDir(const std::string& modelDir);
    void acSaveExecute();
    // Writes the inputs to the model file named by Modelo, in FModelDir.
    void SaveModel();
    void FileOpen1Execute();

    // Opens the host's exchange block, when the host created one, and takes its offered intake.
    void LinkHost();
    void acShareUpdate();
    // Sends the restrictions marked for sending to the host and ends the program.
    void acShareExecute();

    // Reads the inputs, calculates the model, shows its report and refills the restrictions.
    void acCalcExecute();
    void ShowReport();

    void CreateRestrictions();
    void CreateGrid(QWidget* page);
    // Rebuilds the restrictions table from the calculated model, discarding every correction.
    void FillRestrictions();
    // Gives the text of an open cell editor to its field; false when the field refuses it.
    bool UpdateGridData();
    void DataSetEdit1Execute();
    void DataSetPost1Execute();
    void DataSetCancel1Execute();
    // Follows the table's state.
    void UpdateTableActions();

    std::unique_ptr<TVeskDairy> FDairy;
    bool FUpdating = false;
    bool FCalculado = false;
    bool FHostLinked = false;
    TSharedMemory FShared;
    std::string FModelDir;
    // The one printer of the window: what the set-up dialog chooses serves every later print.
    std::unique_ptr<QPrinter> FPrinter;
    // The one font dialog of the window, owned by it.
    TFontDialog* FFontDialog = nullptr;
    TSheetOpener FSheetOpener;
    std::unique_ptr<TSpreadsheetExport> ee;
    // The herd workbooks' folder under the temporary directory; empty until the first is made.
    std::string FHerdFolder;
    // The open dialog's initial folder; Qt's own choice while empty.
    QString FOpenDir;

    TTableModel mt;
    TTableField* mtCodigo = nullptr;
    TTableField* mtNombre = nullptr;
    TTableField* mtUnidad = nullptr;
    TTableField* mtMin = nullptr;
    TTableField* mtMax = nullptr;
    TTableField* mtEnviar = nullptr;

    QActionGroup* al = nullptr;
    QAction* FileExit1 = nullptr;
    QAction* FileOpen1 = nullptr;
    QAction* acCalc = nullptr;
    QAction* FilePrintSetup1 = nullptr;
    QAction* acPrt = nullptr;
    QAction* acLote = nullptr;
    QAction* RichEditBold1 = nullptr;
    QAction* RichEditItalic1 = nullptr;
    QAction* FontEdit1 = nullptr;
    QAction* acShare = nullptr;
    QAction* acSave = nullptr;
    QAction* DataSetEdit1 = nullptr;
    QAction* DataSetPost1 = nullptr;
    QAction* DataSetCancel1 = nullptr;
    QAction* acExcel = nullptr;

    QToolBar* tb = nullptr;
    QLabel* Label13 = nullptr;
    QLineEdit* Modelo = nullptr;
    QToolBar* tbTipo = nullptr;
    QTabWidget* pc = nullptr;
    TTabSheet* tsTipo = nullptr;
    TTabSheet* tsRes = nullptr;
    TTabSheet* tsGird = nullptr;
    // Null until Report() or Grid() builds them.
    QToolBar* ToolBar1 = nullptr;
    QTextEdit* M = nullptr;
    TDBGrid* DBGrid1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QStatusBar* sb = nullptr;
    QMenu* Sistema = nullptr;
    QMenu* Acciones = nullptr;

    TRadioGroup* rgTipo = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* gbProd = nullptr;
    QGroupBox* gbCrec = nullptr;
    TRadioGroup* rgLact = nullptr;
    QGroupBox* gbTemp = nullptr;
    QGroupBox* gbPF = nullptr;
    TNumericEdit* ilPeso = nullptr;
    TNumericEdit* ilCons = nullptr;
    TNumericEdit* ilLeche = nullptr;
    TNumericEdit* ilGrasa = nullptr;
    TNumericEdit* ilProt = nullptr;
    TNumericEdit* ilSem = nullptr;
    TNumericEdit* ilGDP = nullptr;
    TNumericEdit* ilADG = nullptr;
    TNumericEdit* ilTemp = nullptr;
    TNumericEdit* sePF = nullptr;
    QLabel* ilEst = nullptr;
    QToolButton* SpeedButton1 = nullptr;
};
