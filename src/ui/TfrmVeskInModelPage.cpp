#include "ui/TfrmVeskIn.h"

#include "model/InputRoundTrip.h"
#include "ui/Fonts.h"
#include "ui/TNumericEdit.h"
#include "ui/TRadioGroup.h"

#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

namespace {

// Where a group's input rows stand: labels at the left edge, inputs at inputX, units beside.
struct TRowColumns {
    int LabelWidth;
    int InputX;
};

constexpr TRowColumns WideGroup{160, 176};
constexpr TRowColumns NarrowGroup{112, 122};
constexpr QSize InputSize(89, 24);

// A label whose access letter is only drawn underlined, for labels bound to no input.
QString UnboundCaption(const QString& caption) {
    const qsizetype amp = caption.indexOf(u'&');
    if (amp < 0 || amp + 1 >= caption.size())
        return caption.toHtmlEscaped();
    return caption.left(amp).toHtmlEscaped() + QStringLiteral("<u>") +
           caption.mid(amp + 1, 1).toHtmlEscaped() + QStringLiteral("</u>") +
           caption.mid(amp + 2).toHtmlEscaped();
}

QLabel* AddLabel(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* label = new QLabel(UnboundCaption(caption), parent);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setGeometry(geometry);
    return label;
}

TNumericEdit* AddInput(QWidget* parent, const char* name, const TNumericSpec& limits, QPoint at,
                       long double value) {
    auto* input = new TNumericEdit(limits, parent);
    input->setObjectName(QLatin1String(name));
    input->setFont(SansFont(10, true));
    input->setGeometry(QRect(at, InputSize));
    input->SetValue(value);
    return input;
}

// A screen reader names the input after its label as shown and reads its unit as its description;
// binding the label instead would give it an access letter.
void NameAfterLabel(TNumericEdit* input, const QString& caption, const QString& unit) {
    input->setAccessibleName(QString(caption).remove(u'&'));
    input->setAccessibleDescription(unit);
}

// One row of a group: the label left of the input, the unit label right of it.
TNumericEdit* AddRow(QGroupBox* group, TRowColumns columns, int y, const QString& caption,
                     const QString& unit, const char* name, const TNumericSpec& limits,
                     long double value) {
    AddLabel(group, caption, QRect(8, y - 6, columns.LabelWidth, 36));
    if (!unit.isEmpty())
        AddLabel(group, unit, QRect(columns.InputX + InputSize.width() + 4, y, 44, 24));
    TNumericEdit* input = AddInput(group, name, limits, QPoint(columns.InputX, y), value);
    NameAfterLabel(input, caption, unit);
    return input;
}

QGroupBox* AddGroup(QWidget* parent, const char* name, const QString& caption,
                    const QRect& geometry) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(QLatin1String(name));
    group->setGeometry(geometry);
    return group;
}

} // namespace

void TfrmVeskIn::CreateModelPage(QWidget* page) {
    rgTipo = new TRadioGroup(QStringLiteral("Estado productivo"),
                             {QStringLiteral("Vaca en producción"), QStringLiteral("Vaca en seca"),
                              QStringLiteral("Vaquillas/Vaquillonas")},
                             3, page);
    rgTipo->setObjectName(QStringLiteral("rgTipo"));
    rgTipo->setGeometry(8, 8, 593, 41);

    const QString weight = QStringLiteral("&Peso de la vaca:");
    const QString weightUnit = QStringLiteral("Kgs.");
    AddLabel(page, weight, QRect(16, 78, 180, 16));
    ilPeso = AddInput(page, "ilPeso", InputSpecs::ilPeso, QPoint(200, 72), 350);
    AddLabel(page, weightUnit, QRect(294, 72, 40, 24));
    NameAfterLabel(ilPeso, weight, weightUnit);

    CreateProductionGroups(page);
    CreateStateGroups(page);
}

void TfrmVeskIn::CreateProductionGroups(QWidget* page) {
    GroupBox1 = AddGroup(page, "GroupBox1", QStringLiteral("Consumo de alimento (En MS)"),
                         QRect(8, 104, 321, 73));
    AddLabel(GroupBox1, QStringLiteral("Consumo estimado, Kgs"), QRect(8, 20, 160, 16));
    ilEst = new QLabel(GroupBox1);
    ilEst->setObjectName(QStringLiteral("ilEst"));
    ilEst->setGeometry(WideGroup.InputX + InputSize.width() - 49, 20, 49, 16);
    ilEst->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ilEst->setFont(SansFont(10, true));
    QPalette estimate = ilEst->palette();
    estimate.setColor(QPalette::WindowText, estimate.color(QPalette::Highlight));
    ilEst->setPalette(estimate);
    auto* offered = new QLabel(QStringLiteral("&Consumo ofrecido, Kgs"), GroupBox1);
    offered->setGeometry(8, 46, 160, 16);
    ilCons = AddInput(GroupBox1, "ilCons", InputSpecs::ilCons, QPoint(WideGroup.InputX, 42), 10);
    offered->setBuddy(ilCons);
    NameAfterLabel(ilCons, offered->text(), QString());
    SpeedButton1 = new QToolButton(GroupBox1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("="));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setGeometry(WideGroup.InputX + InputSize.width() + 5, 43, 23, 22);
    SpeedButton1->setToolTip(QStringLiteral("Establecer consumo ofrecido = estimado"));
    SpeedButton1->setStatusTip(SpeedButton1->toolTip());

    gbProd =
        AddGroup(page, "gbProd", QStringLiteral("Parámetros productivos"), QRect(8, 184, 321, 193));
    ilLeche = AddRow(gbProd, WideGroup, 26, QStringLiteral("Producción diaria de &leche"),
                     QStringLiteral("Kg."), "ilLeche", InputSpecs::ilLeche, 10);
    ilGrasa = AddRow(gbProd, WideGroup, 66, QStringLiteral("Porcentaje de &grasa en la leche:"),
                     QStringLiteral("%"), "ilGrasa", InputSpecs::ilGrasa, 3);
    ilProt = AddRow(gbProd, WideGroup, 106, QStringLiteral("Porcentaje de &proteina en la leche:"),
                    QStringLiteral("%"), "ilProt", InputSpecs::ilProt, 0);
    ilSem = AddRow(gbProd, WideGroup, 146, QStringLiteral("&Días de lactación"), QString(), "ilSem",
                   InputSpecs::ilSem, 1);
}

void TfrmVeskIn::CreateStateGroups(QWidget* page) {
    gbCrec = AddGroup(page, "gbCrec", QStringLiteral("Parámetros de ganancia"),
                      QRect(344, 64, 257, 113));
    ilGDP = AddRow(gbCrec, NarrowGroup, 28, QStringLiteral("Ganancia de peso deseada"),
                   QStringLiteral("Kg./día"), "ilGDP", InputSpecs::ilGDP, 0);
    ilADG = AddRow(gbCrec, NarrowGroup, 72, QStringLiteral("Ganancia diaria promedio"),
                   QStringLiteral("Kg/día."), "ilADG", InputSpecs::ilADG, 0);

    rgLact = new TRadioGroup(QStringLiteral("Número de &Lactación"),
                             {QStringLiteral("Primera lactación"),
                              QStringLiteral("Segunda lactación"), QStringLiteral("De 3 a más")},
                             1, page);
    rgLact->setObjectName(QStringLiteral("rgLact"));
    rgLact->setGeometry(344, 184, 257, 121);
    rgLact->SetItemIndex(0);

    gbTemp = AddGroup(page, "gbTemp", QStringLiteral("Temperatura"), QRect(345, 312, 256, 65));
    ilTemp = AddRow(gbTemp, NarrowGroup, 26, QStringLiteral("Temperatura del medio ambiente"),
                    QStringLiteral("°C"), "ilTemp", InputSpecs::ilTemp, 0);
    gbPF = AddGroup(page, "gbPF", QStringLiteral("Proximidad al Parto"), QRect(345, 314, 256, 65));
    sePF = AddRow(gbPF, NarrowGroup, 26, QStringLiteral("Días para el parto"),
                  QStringLiteral("días"), "sePF", InputSpecs::sePF, 0);
}
