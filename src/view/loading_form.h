#pragma once

#include <QWidget>

class QLabel;

// A progress gauge drawn as a needle dial: a half-round scale from MinValue (left) to
// MaxValue (right) with a needle pointing at Progress, and the percentage below the hub.
class TNeedleGauge : public QWidget {
    Q_OBJECT

public:
    explicit TNeedleGauge(QWidget* parent = nullptr);

    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    int Progress() const { return progress_; }
    // Keeps the value within MinValue..MaxValue and, when it changed, paints the gauge at
    // once (while it is shown).
    void SetProgress(int value);
    // The share of the scale reached, 0 to 100.
    int PercentDone() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 0;
};

// The "Loading map" notice shown while the map textures are made.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;  // "Loading map"
    QLabel* Label2 = nullptr;  // "One Moment Please"
    TNeedleGauge* CGauge1 = nullptr;

    // Moves the gauge to `percent` and lets the window system draw the notice: it may not
    // have been drawn yet when the work began (a new window is shown in the window system's
    // own time). No user input is taken meanwhile.
    void ShowProgress(int percent);
};
