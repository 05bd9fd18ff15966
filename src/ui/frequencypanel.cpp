// The left part of the operating controls: the eight digits with their step buttons, the mode, the S-meter and
// lights, the band and mode buttons, direct entry and the second VFO.

#include "freqlimits.h"
#include "freqtext.h"
#include "lamp.h"
#include "look.h"
#include "panels.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLineEdit>
#include <QToolButton>

namespace panels {

namespace {

constexpr int kDisplayLeft = 660; // the display holds the digits and their points
constexpr int kDigitWidth = 450;
constexpr int kDigitTop = 345;
constexpr int kDigitHeight = 780;
constexpr int kStepHeight = 270;
constexpr int kMeterLeft = 120; // the S-meter bar and its scale start here inside Frame9
constexpr int kMeterFullWidth = ui::meterFullTwips;

// Left edge of each digit: grouped 3-3-2 like 145.500.00, a point between groups.
constexpr std::array<int, 8> kDigitLeft = {720, 1170, 1620, 2220, 2670, 3120, 3720, 4170};

QToolButton *stepButton(QWidget *parent, const char *name, const QString &accessible, int digit, bool up)
{
    const int top = up ? kDigitTop - kStepHeight - 15 : kDigitTop + kDigitHeight + 15;
    auto *b = place<QToolButton>(parent, name, kDigitLeft[digit] + 45, top, kDigitWidth - 90, kStepHeight);
    b->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
    b->setAccessibleName(accessible);
    b->setToolTip(accessible);
    b->setAutoRepeat(false);
    return b;
}

// The scale is read against the bar, so its characters must span the bar's full width.
QFont scaleFont(const QString &scale)
{
    QFont best = look::fixedFont(8);
    for (int size = 8; size <= 20; ++size) {
        const QFont f = look::fixedFont(size);
        if (QFontMetrics(f).horizontalAdvance(scale) > ui::px(kMeterFullWidth + 120))
            break;
        best = f;
    }
    return best;
}

} // namespace

void buildFrequencyPanel(Ft847Controls &c, QWidget *frame)
{
    c.FreqDisplay = place<QWidget>(frame, "FreqDisplay", kDisplayLeft, kDigitTop, 4020, kDigitHeight);
    c.FreqDisplay->setAccessibleName(QStringLiteral("Fréquence ") + frequency::vfoDisplayText(frequency::kStartTenHz));
    // Read as one frequency, not as eight digits and two points one by one.
    look::speakAsOne(c.FreqDisplay, QAccessible::StaticText);
    QFont digitFont = c.FreqDisplay->font();
    digitFont.setPixelSize(46);
    digitFont.setBold(true);
    const char *names[8] = {"Lab_mmm", "Lab_mm", "Lab_m", "Lab_kkk", "Lab_kk", "Lab_k", "Lab_hh", "Lab_h"};
    const QString initial = frequency::eightDigitText(frequency::kStartTenHz);
    std::array<QLabel *, 8> digits {};
    for (int i = 0; i < 8; ++i) {
        digits[i] = label(c.FreqDisplay, names[i], initial.mid(i, 1), kDigitLeft[i] - kDisplayLeft, 0, kDigitWidth,
            kDigitHeight, Qt::AlignCenter);
        digits[i]->setFont(digitFont);
    }
    std::tie(c.Lab_mmm, c.Lab_mm, c.Lab_m, c.Lab_kkk, c.Lab_kk, c.Lab_k, c.Lab_hh, c.Lab_h) = std::tuple_cat(digits);
    for (const int left : {2070, 3570}) {
        auto *dot
            = label(c.FreqDisplay, "", QStringLiteral("."), left - kDisplayLeft, 0, 150, kDigitHeight, Qt::AlignCenter);
        dot->setFont(digitFont);
    }

    for (std::size_t i = 0; i < frequency::kDigitSteps.size(); ++i) {
        const frequency::DigitStep &s = frequency::kDigitSteps[i];
        const QString size = QString::fromUtf16(s.size);
        c.stepUp[i] = stepButton(frame, s.plus, QStringLiteral("Plus ") + size, s.digit, true);
        c.stepDown[i] = stepButton(frame, s.minus, QStringLiteral("Moins ") + size, s.digit, false);
    }

    c.LabTRX1 = label(frame, "LabTRX1", QStringLiteral("RXTX"), 60, 585, 600, 300, Qt::AlignCenter);
    c.L_mode = label(frame, "L_mode", QString::fromUtf16(frequency::kStartMode), 4740, 420, 960, 450, Qt::AlignCenter);
    QFont modeFont = c.L_mode->font();
    modeFont.setPixelSize(20);
    modeFont.setBold(true);
    c.L_mode->setFont(modeFont);
    look::nameWithValue(c.L_mode, QStringLiteral("Mode"));

    // S-meter and lights.
    c.Frame9 = place<QFrame>(frame, "Frame9", 60, 1470, 5670, 690);
    c.Frame9->setFrameShape(QFrame::StyledPanel);
    const QString scale = QStringLiteral(" . 1 2 3 4 5 6 7 8 9 +20 +40 +60");
    c.LabScale = label(c.Frame9, "LabScale", scale, kMeterLeft, 30, kMeterFullWidth + 150, 300);
    c.LabScale->setFont(scaleFont(scale));
    c.LabScale->setAccessibleName(QStringLiteral("Échelle du S-mètre"));
    c.Lab_SM = label(c.Frame9, "Lab_SM", QString(), kMeterLeft, 360, 0, 210);
    c.Lab_SM->setAccessibleName(QStringLiteral("S-mètre 0"));
    c.Label2 = label(c.Frame9, "Label2", QStringLiteral("0"), 4260, 330, 570, 270, Qt::AlignRight | Qt::AlignVCenter);
    look::nameWithValue(c.Label2, QStringLiteral("Largeur du S-mètre"));
    c.Shape_tx_rx = place<Lamp>(c.Frame9, "Shape_tx_rx", 4920, 75, 240, 240);
    c.ShapbuzyA = place<Lamp>(c.Frame9, "ShapbuzyA", 4920, 375, 240, 240);
    label(c.Frame9, "", QStringLiteral("TX"), 5190, 75, 450, 240);
    label(c.Frame9, "", QStringLiteral("Occ."), 5190, 375, 450, 240);

    // Band and mode buttons, range.
    std::array<QPushButton *, 9> bandButtons {};
    int next = 0;
    for (const frequency::Band &band : frequency::kBands) {
        if (!band.button)
            continue;
        const QString caption = QString::fromUtf16(band.button);
        const QByteArray name = "Com_" + caption.toLatin1().replace('.', "");
        bandButtons[next] = button(frame, name.constData(), caption, 60 + next * 630, 2220, 600, 330);
        ++next;
    }
    std::tie(c.Com_18, c.Com_35, c.Com_7, c.Com_14, c.Com_21, c.Com_28, c.Com_50, c.Com_144, c.Com_430)
        = std::tuple_cat(bandButtons);
    const char *modeNames[6] = {"Com_LSB", "Com_USB", "Com_CW", "Com_CWR", "Com_AM", "Com_FM"};
    std::array<QPushButton *, 6> modeButtons {};
    for (int i = 0; i < 6; ++i)
        modeButtons[i] = button(frame, modeNames[i], QLatin1String(modeNames[i] + 4), 60 + i * 630, 2580, 600, 330);
    std::tie(c.Com_LSB, c.Com_USB, c.Com_CW, c.Com_CWR, c.Com_AM, c.Com_FM) = std::tuple_cat(modeButtons);
    c.Com_libre = button(frame, "Com_libre", QStringLiteral("Fréquence Amateur"), 3840, 2580, 1890, 330);

    // Direct entry and the second VFO.
    c.TextVfo1 = place<QLineEdit>(frame, "TextVfo1", 60, 2955, 840, 300, QStringLiteral("145000"));
    c.TextVfo1->setMaxLength(6);
    c.TextVfo1->setAccessibleName(QStringLiteral("Fréquence en kHz"));
    c.TextVfo1->setToolTip(QStringLiteral("Fréquence en kHz"));
    c.ComVfo1 = button(frame, "ComVfo1", QStringLiteral("Valider"), 930, 2940, 720, 330);
    c.LabVFO2 = label(frame, "LabVFO2", QStringLiteral("145.500.00"), 1680, 2955, 1440, 300, Qt::AlignCenter);
    QFont vfoFont = c.LabVFO2->font();
    vfoFont.setBold(true);
    vfoFont.setPixelSize(14);
    c.LabVFO2->setFont(vfoFont);
    look::nameWithValue(c.LabVFO2, QStringLiteral("VFO B"));
    // Nothing keeps the second VFO's mode: a caption here would only mislead.
    c.L_mode2 = label(frame, "L_mode2", QString(), 3150, 2955, 480, 300, Qt::AlignCenter);
    c.LabTRX2 = label(frame, "LabTRX2", QStringLiteral("RXTX"), 3660, 2955, 480, 300, Qt::AlignCenter);
    c.LabTRX2->hide();
    c.Com_AB = button(frame, "Com_AB", QStringLiteral("A <> B"), 4170, 2940, 780, 330);
    c.Com_shift = button(frame, "Com_shift", QStringLiteral("Simplex"), 4980, 2940, 750, 330);

    c.Lab_control = label(frame, "Lab_control", QStringLiteral("LabControl"), 60, 3390, 1200, 240);
    QFont small = c.Lab_control->font();
    small.setPixelSize(9);
    c.Lab_control->setFont(small);
    look::nameWithValue(c.Lab_control, QStringLiteral("Fréquence envoyée"));
}

} // namespace panels
