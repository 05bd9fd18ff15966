#pragma once

// The main window: a picture of the radio's front panel. It only creates and places the controls; what they do
// lives in the controllers that are handed its control set.

#include "ft847controls.h"

#include <QWidget>

class Ft847Window : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidthTwips = 11400;
    static constexpr int kFoldedTwips = 4155;
    static constexpr int kUnfoldedTwips = 7230;

    explicit Ft847Window(QWidget *parent = nullptr);

    Ft847Controls &controls() { return m_controls; }

    void setHeightTwips(int twips);
    int heightTwips() const;

signals:
    // The operator asks to close the window (its close button, Alt+F4): the program is to unload, which hides it.
    void unloading();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildNavigation();

    Ft847Controls m_controls;
};
