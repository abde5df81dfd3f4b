#include "ui/TfrmVeskIn.h"

#include "ui/AltChords.h"
#include "ui/Fonts.h"
#include "ui/ImageList.h"
#include "ui/SuppressToolTip.h"
#include "ui/TDBGrid.h"
#include "ui/TTabSheet.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <initializer_list>

namespace {

constexpr QSize IconSize(32, 32);
constexpr QSize MainButtonSize(39, 38);

QToolBar* CreateToolBar(QWidget* parent, const char* name, Qt::ToolButtonStyle style) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QLatin1String(name));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(IconSize);
    bar->setToolButtonStyle(style);
    return bar;
}

// An empty page; its layout, made with its contents, fills it edge to edge.
TTabSheet* AddPage(QTabWidget* pages, const char* name, TImageIndex icon, const QString& caption) {
    auto* page = new TTabSheet(pages);
    page->setObjectName(QLatin1String(name));
    pages->addTab(page, ImageListIcon(icon), caption);
    return page;
}

template <class TLayout> TLayout* CreatePageLayout(QWidget* page) {
    auto* layout = new TLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// Contents built into a page already on screen are laid out and shown with it at once, not at
// the next turn of the event loop.
void ShowWithPage(QWidget* page, std::initializer_list<QWidget*> contents) {
    if (!page->isVisible())
        return;
    for (QWidget* content : contents)
        content->show();
    page->layout()->activate();
}

void AddButton(QToolBar* bar, QAction* action, QSize size) {
    bar->addAction(action);
    bar->widgetForAction(action)->setFixedSize(size);
}

} // namespace

void TfrmVeskIn::CreateLayout() {
    setWindowTitle(QStringLiteral("Vesk: Cálculo del consumo máximo de materia seca"));
    setWindowIcon(WindowIcon());
    setFont(SansFont(8, true));
    CreateToolbars();
    CreatePages();
    sb = statusBar();
    sb->setObjectName(QStringLiteral("sb"));
    sb->setFixedHeight(20);
    sb->setSizeGripEnabled(false);
    CreateMenu();
}

void TfrmVeskIn::CreateToolbars() {
    tb = CreateToolBar(this, "tb", Qt::ToolButtonIconOnly);
    tb->setFixedHeight(42);
    AddButton(tb, FileExit1, MainButtonSize);
    tb->addSeparator();
    AddButton(tb, acCalc, MainButtonSize);
    tb->addSeparator();
    AddButton(tb, acPrt, MainButtonSize);
    tb->addSeparator();
    Label13 = new QLabel(QStringLiteral("  MODELO: "), tb);
    Label13->setObjectName(QStringLiteral("Label13"));
    Label13->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    tb->addWidget(Label13);
    Modelo = new QLineEdit(tb);
    Modelo->setObjectName(QStringLiteral("Modelo"));
    Modelo->setFixedWidth(327);
    Modelo->setMaxLength(50);
    Modelo->setFont(SansFont(10, false));
    Modelo->setAccessibleName(Label13->text().trimmed());
    RefuseAltChords(Modelo);
    tb->addWidget(Modelo);
    addToolBar(Qt::TopToolBarArea, tb);

    tbTipo = CreateToolBar(this, "tbTipo", Qt::ToolButtonTextBesideIcon);
    tbTipo->setOrientation(Qt::Vertical);
    tbTipo->setFixedWidth(130);
    tbTipo->setFont(SansFont(8, false));
    for (QAction* action : {FileOpen1, acSave, acShare, acExcel})
        AddButton(tbTipo, action, QSize(126, 38));
    // The export has no hint, so its button shows no tooltip either.
    SuppressToolTip(tbTipo->widgetForAction(acExcel));
    addToolBar(Qt::RightToolBarArea, tbTipo);
}

void TfrmVeskIn::CreatePages() {
    pc = new QTabWidget(this);
    pc->setObjectName(QStringLiteral("pc"));
    pc->setDocumentMode(true);
    pc->setIconSize(IconSize);
    // Tabs drawn as flat buttons that light up under the mouse.
    pc->tabBar()->setStyleSheet(QStringLiteral(
        "QTabBar::tab { border: 1px solid transparent; border-radius: 2px; margin: 2px 1px; "
        "padding: 1px 8px; }"
        "QTabBar::tab:hover { border-color: palette(mid); background: palette(light); }"
        "QTabBar::tab:selected { border-color: palette(dark); background: palette(midlight); }"));

    tsTipo = new TTabSheet(pc);
    tsTipo->setObjectName(QStringLiteral("tsTipo"));
    CreateModelPage(tsTipo);
    pc->addTab(tsTipo, ImageListIcon(iiModel), QStringLiteral("Modelo"));

    tsRes = AddPage(pc, "tsRes", iiResult, QStringLiteral("Resultado"));
    connect(tsRes, &TTabSheet::shown, this, [this] { Report(); });
    tsGird = AddPage(pc, "tsGird", iiTable, QStringLiteral("Restricciones"));
    connect(tsGird, &TTabSheet::shown, this, [this] { Grid(); });

    pc->setCurrentWidget(tsTipo);
    setCentralWidget(pc);
}

QTextEdit& TfrmVeskIn::Report() {
    if (!M)
        CreateReportPage();
    return *M;
}

TDBGrid& TfrmVeskIn::Grid() {
    if (!DBGrid1)
        CreateGridPage();
    return *DBGrid1;
}

void TfrmVeskIn::CreateReportPage() {
    auto* report = CreatePageLayout<QVBoxLayout>(tsRes);
    ToolBar1 = CreateToolBar(tsRes, "ToolBar1", Qt::ToolButtonIconOnly);
    for (QAction* action : {RichEditBold1, RichEditItalic1, FontEdit1}) {
        AddButton(ToolBar1, action, MainButtonSize);
        // Pressing these buttons leaves the keyboard focus in the report.
        ToolBar1->widgetForAction(action)->setFocusPolicy(Qt::NoFocus);
    }
    report->addWidget(ToolBar1);
    M = new QTextEdit(tsRes);
    M->setObjectName(QStringLiteral("M"));
    M->setFont(MonoFont(10));
    M->setLineWrapMode(QTextEdit::NoWrap);
    M->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    M->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RefuseAltChords(M);
    report->addWidget(M);
    ShowWithPage(tsRes, {ToolBar1, M});
}

void TfrmVeskIn::CreateGridPage() {
    auto* restrictions = CreatePageLayout<QHBoxLayout>(tsGird);
    CreateGrid(tsGird);
    restrictions->addWidget(DBGrid1, 1);
    ToolBar2 = CreateToolBar(tsGird, "ToolBar2", Qt::ToolButtonTextBesideIcon);
    ToolBar2->setOrientation(Qt::Vertical);
    for (QAction* action : {DataSetEdit1, DataSetPost1, DataSetCancel1})
        AddButton(ToolBar2, action, QSize(103, 38));
    restrictions->addWidget(ToolBar2);
    ShowWithPage(tsGird, {DBGrid1, ToolBar2});
}

void TfrmVeskIn::CreateMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    // Menus use the desktop's regular font, not the window's bold one.
    bar->setFont(QApplication::font());
    Sistema = bar->addMenu(QStringLiteral("&Sistema"));
    Sistema->addAction(FilePrintSetup1);
    Sistema->addSeparator();
    Sistema->addAction(FileExit1);
    Acciones = bar->addMenu(QStringLiteral("&Acciones"));
    Acciones->addAction(acCalc);
    Acciones->addAction(acPrt);
    Acciones->addAction(acLote);
}
