#include "app/SpeedometerForm.h"

#include "messages/LNSensFBMessage.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/HelpViewer.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/SpinEdit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace {

struct TScale {
    const char* Text;
    double Factor;
};
constexpr TScale kScales[] = {
    {"\"O\" (1:48)", 48},      {"\"OO\" (1:76)", 76},     {"\"HO\" (1:87)", 87},
    {"UK \"N\" (1:148)", 148}, {"US \"N\" (1:160)", 160}, {"\"Z\" (1:220)", 220},
};

struct TUnits {
    const char* Text;
    double Factor;
    const char* Label;
};
constexpr TUnits kUnits[] = {{"m/s", 1.0, "m/s"}, {"km/h", 3.6, "Kph"}, {"mph", 2.25, "MPH"}};

double MonotonicSeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

int ReadInteger(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace

TSpeedometerForm::TSpeedometerForm(QWidget* parent, TClock clock)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), Clock(clock ? std::move(clock) : TClock(MonotonicSeconds))
{
    setObjectName(QStringLiteral("SpeedometerForm"));
    setWindowTitle(QStringLiteral("SpeedometerForm"));
    SetHelpContext(this, hcSpeedometer);

    auto label = [this](const char* name, const char* text) {
        auto* l = new QLabel(QString::fromLatin1(text), this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    auto spin = [this](const char* name, int max) {
        auto* s = new TSpinEdit(1, max, 1, this);
        s->setObjectName(QString::fromLatin1(name));
        return s;
    };

    QLabel* scaleLabel = label("Label1", "Scale");
    OutputUnitsCombo = new QComboBox(this);
    OutputUnitsCombo->setObjectName(QStringLiteral("OutputUnitsCombo"));
    for (const TUnits& u : kUnits) OutputUnitsCombo->addItem(QString::fromLatin1(u.Text));
    OutputUnitsCombo->setCurrentIndex(2);
    QLabel* lengthLabel = label("Label2", "block length (m)");
    QLabel* startLabel = label("Label3", "Start Sensor");
    QLabel* stopLabel = label("Label4", "Stop Sensor");
    QLabel* speedLabel = label("Label5", "Measured Speed");
    StartBoardEdit = spin("StartBoardEdit", 256);
    StartSensEdit = spin("StartSensEdit", 16);
    StopBoardEdit = spin("StopBoardEdit", 256);
    StopSensEdit = spin("StopSensEdit", 16);
    QLabel* startComma = label("Label6", ",");
    QLabel* stopComma = label("Label7", ",");
    LengthEdit = new QLineEdit(QStringLiteral("1.0"), this);
    LengthEdit->setObjectName(QStringLiteral("LengthEdit"));
    ResultEdit = new QLineEdit(QStringLiteral("(Idle)"), this);
    ResultEdit->setObjectName(QStringLiteral("ResultEdit"));
    ResultEdit->setReadOnly(true);
    QLabel* unitsLabel = label("Label8", "Units for speed");
    auto* closeButton = new QPushButton(QStringLiteral("&Close"), this);
    closeButton->setObjectName(QStringLiteral("BitBtn1"));
    TimeoutTimer = new QTimer(this);
    TimeoutTimer->setObjectName(QStringLiteral("TimeoutTimer"));
    TimeoutTimer->setInterval(kTimeoutMs);
    ScaleCombo = new QComboBox(this);
    ScaleCombo->setObjectName(QStringLiteral("ScaleCombo"));
    for (const TScale& s : kScales) ScaleCombo->addItem(QString::fromLatin1(s.Text));
    ScaleCombo->setCurrentIndex(3);
    HelpButton = new QPushButton(QStringLiteral("&Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));

    scaleLabel->setBuddy(ScaleCombo);
    unitsLabel->setBuddy(OutputUnitsCombo);
    lengthLabel->setBuddy(LengthEdit);
    startLabel->setBuddy(StartBoardEdit);
    stopLabel->setBuddy(StopBoardEdit);
    speedLabel->setBuddy(ResultEdit);
    StartSensEdit->setAccessibleName(QStringLiteral("Start Sensor number"));
    StopSensEdit->setAccessibleName(QStringLiteral("Stop Sensor number"));

    auto* grid = new QGridLayout;
    grid->addWidget(scaleLabel, 0, 0);
    grid->addWidget(ScaleCombo, 0, 1, 1, 3);
    grid->addWidget(unitsLabel, 1, 0);
    grid->addWidget(OutputUnitsCombo, 1, 1, 1, 3);
    grid->addWidget(lengthLabel, 2, 0);
    grid->addWidget(LengthEdit, 2, 1, 1, 3);
    grid->addWidget(startLabel, 3, 0);
    grid->addWidget(StartBoardEdit, 3, 1);
    grid->addWidget(startComma, 3, 2);
    grid->addWidget(StartSensEdit, 3, 3);
    grid->addWidget(stopLabel, 4, 0);
    grid->addWidget(StopBoardEdit, 4, 1);
    grid->addWidget(stopComma, 4, 2);
    grid->addWidget(StopSensEdit, 4, 3);
    grid->addWidget(speedLabel, 5, 0);
    grid->addWidget(ResultEdit, 5, 1, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(HelpButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    SetUpKeyboardAccess(this);

    connect(OutputUnitsCombo, &QComboBox::currentIndexChanged, this, &TSpeedometerForm::UpdateParams);
    connect(ScaleCombo, &QComboBox::currentIndexChanged, this, &TSpeedometerForm::UpdateParams);
    for (TSpinEdit* s : {StartBoardEdit, StartSensEdit, StopBoardEdit, StopSensEdit})
        connect(s, &TSpinEdit::Changed, this, &TSpeedometerForm::UpdateParams);
    connect(LengthEdit, &QLineEdit::textChanged, this, &TSpeedometerForm::UpdateParams);
    connect(TimeoutTimer, &QTimer::timeout, this, &TSpeedometerForm::TimeoutTimerTimer);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);
    connect(HelpButton, &QPushButton::clicked, this, &TSpeedometerForm::HelpButtonClick);
    UpdateParams();
}

void TSpeedometerForm::UpdateParams()
{
    Start = {ReadInteger(StartBoardEdit->text()), ReadInteger(StartSensEdit->text())};
    Stop = {ReadInteger(StopBoardEdit->text()), ReadInteger(StopSensEdit->text())};
    UnitsIndex = OutputUnitsCombo->currentIndex();
    const int scale = ScaleCombo->currentIndex();
    ScaleFactor = scale >= 0 && scale < static_cast<int>(std::size(kScales)) ? kScales[scale].Factor : 0;
    UnitsFactor = UnitsIndex >= 0 && UnitsIndex < static_cast<int>(std::size(kUnits)) ? kUnits[UnitsIndex].Factor : 0;
    bool ok = false;
    const double length = LengthEdit->text().trimmed().toDouble(&ok);
    BlockLength = ok && std::isfinite(length) ? length : 0.0;
}

void TSpeedometerForm::setVisible(bool visible)
{
    // First shown beside the main window, where it never hides the menus; then where it was left.
    if (visible && !Placed) {
        PlaceBesideMainWindow(this, parentWidget());
        Placed = true;
    }
    QWidget::setVisible(visible);
}

void TSpeedometerForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Showing the window starts afresh; restoring it from minimised (a show event from the
    // window system) keeps the measurement and its result.
    if (!event->spontaneous()) FormShow();
}

void TSpeedometerForm::FormShow()
{
    UpdateParams();
    Measuring = false;
    TimeoutTimer->stop();
    ResultEdit->setText(QStringLiteral("(Idle)"));
}

void TSpeedometerForm::HandleSensorMessage(const TLNSensFBMessage& message)
{
    if (Start == Stop) return;
    uint32_t board = 0;
    uint32_t input = 0;
    bool on = false;
    if (!message.Decode(board, input, on) || !on) return;
    const TSensor reported{static_cast<int>(board), static_cast<int>(input)};
    const bool isStart = reported == Start;
    const bool isStop = reported == Stop;
    if (isStart && !Measuring) {
        ResultEdit->setText(QStringLiteral("Measuring..."));
        Measuring = true;
        TimeoutTimer->start();
        StartTime = Clock();
    } else if (isStop && Measuring) {
        Measuring = false;
        TimeoutTimer->stop();
        const double seconds = Clock() - StartTime;
        const double speed = BlockLength * ScaleFactor * UnitsFactor / seconds;
        const char* unitLabel =
            UnitsIndex >= 0 && UnitsIndex < static_cast<int>(std::size(kUnits)) ? kUnits[UnitsIndex].Label : "";
        ResultEdit->setText(QString::fromStdString(FormatSpeed(speed) + unitLabel));
    }
}

void TSpeedometerForm::TimeoutTimerTimer()
{
    Measuring = false;
    TimeoutTimer->stop();
    ResultEdit->setText(QStringLiteral("Timed Out"));
}

void TSpeedometerForm::HelpButtonClick()
{
    ShowHelpContext(hcSpeedometer);
}

std::string TSpeedometerForm::FormatSpeed(double value)
{
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    const double tenths = std::fabs(value) * 10.0;
    if (tenths >= 9.0e17) {
        char big[64];
        std::snprintf(big, sizeof big, "%s%.0f", value < 0 ? "-" : "", std::fabs(value));
        return big;
    }
    const long long rounded = std::llround(tenths); // halves away from zero
    if (rounded == 0) return "";
    // Written into a buffer: GCC 12 at -O3 reports a false -Wstringop-overflow for the same
    // text joined from std::string pieces.
    const char* sign = value < 0 ? "-" : "";
    const long long whole = rounded / 10;
    const long long tenth = rounded % 10;
    char text[32];
    if (tenth == 0)
        std::snprintf(text, sizeof text, "%s%lld", sign, whole);
    else if (whole == 0)
        std::snprintf(text, sizeof text, "%s.%lld", sign, tenth);
    else
        std::snprintf(text, sizeof text, "%s%lld.%lld", sign, whole, tenth);
    return text;
}
