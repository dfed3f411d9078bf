#pragma once
// The speedometer: times a train between two occupancy sensors and shows its scale speed.

#include <QString>
#include <QWidget>

#include <functional>
#include <string>

class QComboBox;
class QLabel;
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

    QLabel* Label1 = nullptr;
    QComboBox* OutputUnitsCombo = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    TSpinEdit* StartBoardEdit = nullptr;
    TSpinEdit* StartSensEdit = nullptr;
    TSpinEdit* StopBoardEdit = nullptr;
    TSpinEdit* StopSensEdit = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* LengthEdit = nullptr;
    QLineEdit* ResultEdit = nullptr;
    QLabel* Label8 = nullptr;
    QPushButton* BitBtn1 = nullptr;
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
    static constexpr int kHelpContext = 15;

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    TClock Clock;
    int StartBoard = 1;
    int StartSens = 1;
    int StopBoard = 1;
    int StopSens = 1;
    int UnitsIndex = 2;
    double ScaleFactor = 148;
    double UnitsFactor = 2.25;
    double BlockLength = 1.0;
    bool Measuring = false;
    double StartTime = 0;
    bool Placed = false;
};
