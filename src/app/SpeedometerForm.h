#pragma once
// The speedometer: times a train between two occupancy sensors and shows its scale speed.

#include <QString>
#include <QWidget>

#include <functional>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTimer;
class TLNSensFBMessage;
class TSpinEdit;

class TSpeedometerForm : public QWidget {
    Q_OBJECT
public:
    // Seconds on a clock that never goes back; the default is the system's monotonic clock.
    using TClock = std::function<double()>;

    explicit TSpeedometerForm(QWidget* parent = nullptr, TClock clock = {});

    QComboBox* OutputUnitsCombo = nullptr;
    TSpinEdit* StartBoardEdit = nullptr;
    TSpinEdit* StartSensEdit = nullptr;
    TSpinEdit* StopBoardEdit = nullptr;
    TSpinEdit* StopSensEdit = nullptr;
    QLineEdit* LengthEdit = nullptr;
    QLineEdit* ResultEdit = nullptr;
    QTimer* TimeoutTimer = nullptr;
    QComboBox* ScaleCombo = nullptr;
    QPushButton* HelpButton = nullptr;

    // A sensor report routed by the main window while this window is visible; not kept.
    void HandleSensorMessage(const TLNSensFBMessage& message);
    // Refreshes the working values from the controls.
    void UpdateParams();
    void TimeoutTimerTimer();
    void HelpButtonClick();

    bool IsMeasuring() const { return Measuring; }

    // Speed text with at most one decimal, no leading zero and nothing at all for zero.
    static std::string FormatSpeed(double value);

    static constexpr int kTimeoutMs = 20000;
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    // A sensor as the window's spin boxes give it.
    struct TSensor {
        int Board = 1;
        int Input = 1;
        bool operator==(const TSensor&) const = default;
    };

    TClock Clock;
    TSensor Start;
    TSensor Stop;
    int UnitsIndex = 2; // in the units list (mph by default)
    double ScaleFactor = 148; // the model is at 1:ScaleFactor
    double UnitsFactor = 2.25; // from metres a second to the units shown
    double BlockLength = 1.0; // metres from the start sensor to the stop sensor
    bool Measuring = false;
    double StartTime = 0; // seconds on Clock when the train reached the start sensor
    bool Placed = false;
};
