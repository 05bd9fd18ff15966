#include "locatorwindow.h"

#include "clicklabel.h"
#include "compasswidget.h"
#include "keyasciifilter.h"
#include "look.h"
#include "panels.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLineEdit>
#include <QRegularExpressionValidator>

using namespace panels;

namespace {

// Panel geometry, in twips of the panel.
constexpr int kPanelLeft = 4260;
constexpr int kPanelWidth = 5820;
constexpr int kPanelHeight = 2430;
constexpr int kRowLabelLeft = 180;
constexpr int kFieldLeft = 1440;
constexpr int kFieldWidth = 600;
constexpr int kFieldPitch = 720;
constexpr int kFieldHeight = 375;
constexpr int kComboLeft = kFieldLeft + 3 * kFieldPitch;
constexpr int kComboWidth = 1380;
constexpr int kHeaderTop = 600;
constexpr int kRowTops[2] = {930, 1410};
constexpr int kButtonTop = 1920;
constexpr int kButtonHeight = 390;

const QColor PanelFace(0xD8, 0xD8, 0xD8);

// The character a key gives, as a field's key handler sees it; -1 for keys that give none (arrows, Delete,
// function keys, shortcuts), which reach the field untouched. Decided by the key's text, not by the modifiers:
// AltGr arrives as Ctrl+Alt on Windows and types "@", "#" or "{" all the same. Ctrl alone, or with Shift, makes a
// shortcut whatever its text, as the field itself sees it.
QFont sized(QFont font, int pixelSize, bool bold)
{
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// Spreads the words of the column header so that each one stands over its column: the header is one label
// with the exact caption, so only the room between its words can move.
void alignHeader(QLabel *header, int firstCentreTwips)
{
    const QFontMetrics metrics(header->font());
    const int deg = metrics.horizontalAdvance(QStringLiteral("Deg"));
    const int min = metrics.horizontalAdvance(QStringLiteral("Min"));
    const int blank = metrics.horizontalAdvance(u' ');
    // Each gap holds two blanks; word spacing is added to every blank.
    const double spacing = (ui::pxF(kFieldPitch) - deg / 2.0 - min / 2.0 - 2 * blank) / 2;
    QFont font = header->font();
    font.setWordSpacing(spacing);
    header->setFont(font);
    const QFontMetrics spread(font);
    const int left = ui::px(firstCentreTwips) - deg / 2;
    header->setGeometry(left, ui::px(kHeaderTop), spread.horizontalAdvance(header->text()) + 4, ui::px(300));
}

} // namespace

WinLocAssistance::WinLocAssistance(const Settings &settings, QWidget *launcher, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_fields(m_c, this)
    , m_assistant(m_c, m_fields, settings, launcher, this)
{
    look::installAccessibility();
    m_c.window = this;
    setObjectName(QStringLiteral("WinLocAssistance"));
    setWindowTitle(QStringLiteral("Locavia-V1.1"));
    look::setAccessibleRole(this, QAccessible::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    look::setBackColor(this, look::Face);
    setFixedSize(ui::px(kWidthTwips), ui::px(kHeightTwips));

    buildCompassSide();
    buildStationPanel(Station::Own, 120);
    buildStationPanel(Station::Correspondent, 120 + kPanelHeight + 150);
    setTabOrder();
    wire();
    m_assistant.resetNeedle();
    m_c.Text_S_Loc->setFocus();

    m_assistant.Form_Load();
}

void WinLocAssistance::buildStationPanel(Station station, int top)
{
    const bool own = station == Station::Own;
    auto *panel = place<QFrame>(this, own ? "FrameMon" : "FrameSon", kPanelLeft, top, kPanelWidth, kPanelHeight);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    look::setBackColor(panel, PanelFace);
    const QString title = own ? QStringLiteral("Mon Locator") : QStringLiteral("Son Locator");
    panel->setAccessibleName(title);

    StationControls s;
    auto *titleLabel = label(panel, own ? "LabMon" : "LabSon", title, kRowLabelLeft, 120, 2100, 390);
    titleLabel->setFont(sized(font(), 17, true));
    look::setForeColor(titleLabel, look::Navy);
    s.loc = place<QLineEdit>(panel, own ? "Text_M_Loc" : "Text_S_Loc", kFieldLeft + kFieldPitch, 90, 2040, 450);
    s.loc->setMaxLength(6);
    s.loc->setAlignment(Qt::AlignCenter);
    s.loc->setFont(sized(look::fixedFont(20), 20, true));
    s.loc->setAccessibleName(title);
    titleLabel->setBuddy(s.loc);

    auto *header = label(panel, "", QStringLiteral("Deg  Min  Sec  Direction"), 0, kHeaderTop, 3000, 300);
    header->setFont(sized(font(), 12, false));
    alignHeader(header, kFieldLeft + kFieldWidth / 2);

    static const char *const names[2][CoordinateFieldCount] = {
        {"Text_M_Lat_Deg", "Text_M_Lat_Min", "Text_M_Lat_Sec", "Text_M_Lon_Deg", "Text_M_Lon_Min", "Text_M_Lon_Sec"},
        {"Text_S_Lat_Deg", "Text_S_Lat_Min", "Text_S_Lat_Sec", "Text_S_Lon_Deg", "Text_S_Lon_Min", "Text_S_Lon_Sec"},
    };
    static const QString columns[3] = {QStringLiteral("Deg"), QStringLiteral("Min"), QStringLiteral("Sec")};
    // Typing is filtered key by key; text that arrives otherwise (pasted, dropped) must be digits as well.
    auto *digitsOnly = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), panel);
    for (int row = 0; row < 2; ++row) {
        const QString rowName = row == 0 ? QStringLiteral("Latitude") : QStringLiteral("Longitude");
        QLabel *rowLabel = label(panel, "", rowName, kRowLabelLeft, kRowTops[row], 1200, kFieldHeight);
        for (int column = 0; column < 3; ++column) {
            const int field = row * 3 + column;
            QLineEdit *edit = place<QLineEdit>(panel, names[own ? 0 : 1][field], kFieldLeft + column * kFieldPitch,
                kRowTops[row], kFieldWidth, kFieldHeight);
            edit->setMaxLength(field == LonDeg ? 3 : 2);
            edit->setAlignment(Qt::AlignCenter);
            edit->setValidator(digitsOnly);
            edit->setAccessibleName(rowName + u' ' + columns[column]);
            s.coordinates[field] = edit;
        }
        rowLabel->setBuddy(s.coordinates[row * 3]);
        const char *comboName = row == 0 ? (own ? "Comb_M_NS" : "Comb_S_NS") : (own ? "Comb_M_EO" : "Comb_S_EO");
        auto *combo
            = place<QComboBox>(panel, comboName, kComboLeft, kRowTops[row] - 15, kComboWidth, kFieldHeight + 30);
        combo->setAccessibleName(rowName + QStringLiteral(" Direction"));
        (row == 0 ? s.northSouth : s.eastWest) = combo;
    }

    s.calcul
        = button(panel, own ? "Com_M" : "Com_S", QStringLiteral("Calcul"), kFieldLeft, kButtonTop, 1320, kButtonHeight);
    s.raz = button(panel, own ? "Com_M_RAZ" : "Com_S_Raz", QStringLiteral("Raz"), kFieldLeft + 1440, kButtonTop, 1320,
        kButtonHeight);

    if (own) {
        m_c.Check_Sauve = place<QCheckBox>(panel, "Check_Sauve", kFieldLeft + 2 * 1440 + 180, kButtonTop, 1200,
            kButtonHeight, QStringLiteral("Sauve"));
        m_c.Text_M_Loc = s.loc;
        m_c.Text_M_Lat_Deg = s.coordinates[LatDeg];
        m_c.Text_M_Lat_Min = s.coordinates[LatMin];
        m_c.Text_M_Lat_Sec = s.coordinates[LatSec];
        m_c.Text_M_Lon_Deg = s.coordinates[LonDeg];
        m_c.Text_M_Lon_Min = s.coordinates[LonMin];
        m_c.Text_M_Lon_Sec = s.coordinates[LonSec];
        m_c.Comb_M_NS = s.northSouth;
        m_c.Comb_M_EO = s.eastWest;
        m_c.Com_M = s.calcul;
        m_c.Com_M_RAZ = s.raz;
    } else {
        m_c.Text_S_Loc = s.loc;
        m_c.Text_S_Lat_Deg = s.coordinates[LatDeg];
        m_c.Text_S_Lat_Min = s.coordinates[LatMin];
        m_c.Text_S_Lat_Sec = s.coordinates[LatSec];
        m_c.Text_S_Lon_Deg = s.coordinates[LonDeg];
        m_c.Text_S_Lon_Min = s.coordinates[LonMin];
        m_c.Text_S_Lon_Sec = s.coordinates[LonSec];
        m_c.Comb_S_NS = s.northSouth;
        m_c.Comb_S_EO = s.eastWest;
        m_c.Com_S = s.calcul;
        m_c.Com_S_Raz = s.raz;
    }
}

void WinLocAssistance::buildCompassSide()
{
    m_c.compass = new CompassWidget(QRect(120, 120, 3960, 3240), this);
    m_c.compass->setObjectName(QStringLiteral("Compass"));
    look::setAccessibleRole(m_c.compass, QAccessible::Graphic);

    const QFont result = sized(font(), 16, true);
    m_c.LabelDistance = label(this, "LabelDistance", QStringLiteral("Distance : "), 240, 3450, 3720, 360);
    m_c.LabelAzimut = label(this, "LabelAzimut", QStringLiteral("Azimut : "), 240, 3840, 3720, 360);
    for (QLabel *l : {m_c.LabelDistance, m_c.LabelAzimut}) {
        l->setFont(result);
        look::setForeColor(l, look::Navy);
    }
    m_c.ComDistance = button(this, "ComDistance", QStringLiteral("Distance/Azimut"), 240, 4320, 2520, 450);
    m_c.Comhelp = button(this, "Comhelp", QStringLiteral("?"), 2880, 4320, 480, 450);
    m_c.Comhelp->setAccessibleName(QStringLiteral("Aide"));
    m_c.Comhelp->setToolTip(QStringLiteral("Aide"));

    m_c.LabDate = label(this, "LabDate", QString(), 240, 4800, 1800, 300);
    look::nameWithValue(m_c.LabDate, QStringLiteral("Date"));
    m_c.Label6 = place<ClickLabel>(this, "Label6", 2280, 4800, 1800, 300, QStringLiteral("Locavia.V1.1"));
    m_c.Label6->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    look::setForeColor(m_c.Label6, look::Navy);
    m_c.Label6->setAutoFillBackground(false);
}

void WinLocAssistance::setTabOrder()
{
    QList<QWidget *> order;
    for (const Station station : {Station::Correspondent, Station::Own}) {
        const StationControls s = m_c.station(station);
        order << s.loc << s.coordinates[LatDeg] << s.coordinates[LatMin] << s.coordinates[LatSec] << s.northSouth
              << s.coordinates[LonDeg] << s.coordinates[LonMin] << s.coordinates[LonSec] << s.eastWest << s.calcul
              << s.raz;
    }
    order << m_c.Check_Sauve << m_c.ComDistance << m_c.Comhelp << m_c.Label6;
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void WinLocAssistance::wire()
{
    LocatorAssistant *a = &m_assistant;
    connect(m_c.Com_M, &QPushButton::clicked, a, &LocatorAssistant::Com_M_Click);
    connect(m_c.Com_S, &QPushButton::clicked, a, &LocatorAssistant::Com_S_Click);
    connect(m_c.Com_M_RAZ, &QPushButton::clicked, a, &LocatorAssistant::Com_M_RAZ_Click);
    connect(m_c.Com_S_Raz, &QPushButton::clicked, a, &LocatorAssistant::Com_S_Raz_Click);
    connect(m_c.ComDistance, &QPushButton::clicked, a, &LocatorAssistant::ComDistance_Click);
    connect(m_c.Check_Sauve, &QCheckBox::toggled, &m_fields, &LocatorFields::Check_Sauve_Click);
    connect(m_c.Comhelp, &QPushButton::clicked, a, &LocatorAssistant::Comhelp_Click);
    connect(m_c.Label6, &ClickLabel::clicked, a, &LocatorAssistant::Label6_Click);

    // textChanged, not textEdited: a text written by the program runs the same checks as a typed one.
    LocatorFields *f = &m_fields;
    connect(f, &LocatorFields::correspondentResetAsked, a, &LocatorAssistant::Com_S_Raz_Click);
    connect(f, &LocatorFields::correspondentLocatorErased, a, &LocatorAssistant::resetNeedle);
    connect(f, &LocatorFields::correspondentLocatorTyped, a, &LocatorAssistant::correspondentLocatorTyped);
    connect(m_c.Text_M_Loc, &QLineEdit::textChanged, f, &LocatorFields::Text_M_Loc_Change);
    connect(m_c.Text_S_Loc, &QLineEdit::textChanged, f, &LocatorFields::Text_S_Loc_Change);
    KeyAsciiFilter::install(m_c.Text_M_Loc, [f](int &k) { f->Text_M_Loc_KeyPress(k); });
    KeyAsciiFilter::install(m_c.Text_S_Loc, [f](int &k) { f->Text_S_Loc_KeyPress(k); });

    struct FieldHandlers
    {
        QLineEdit *edit;
        void (LocatorFields::*change)();
        void (LocatorFields::*keyPress)(int &);
    };
    using L = LocatorFields;
    const FieldHandlers fields[] = {
        {m_c.Text_M_Lat_Deg, &L::Text_M_Lat_Deg_Change, &L::Text_M_Lat_Deg_KeyPress},
        {m_c.Text_M_Lat_Min, &L::Text_M_Lat_Min_Change, &L::Text_M_Lat_Min_KeyPress},
        {m_c.Text_M_Lat_Sec, &L::Text_M_Lat_Sec_Change, &L::Text_M_Lat_Sec_KeyPress},
        {m_c.Text_M_Lon_Deg, &L::Text_M_Lon_Deg_Change, &L::Text_M_Lon_Deg_KeyPress},
        {m_c.Text_M_Lon_Min, &L::Text_M_Lon_Min_Change, &L::Text_M_Lon_Min_KeyPress},
        {m_c.Text_M_Lon_Sec, &L::Text_M_Lon_Sec_Change, &L::Text_M_Lon_Sec_KeyPress},
        {m_c.Text_S_Lat_Deg, &L::Text_S_Lat_Deg_Change, &L::Text_S_Lat_Deg_KeyPress},
        {m_c.Text_S_Lat_Min, &L::Text_S_Lat_Min_Change, &L::Text_S_Lat_Min_KeyPress},
        {m_c.Text_S_Lat_Sec, &L::Text_S_Lat_Sec_Change, &L::Text_S_Lat_Sec_KeyPress},
        {m_c.Text_S_Lon_Deg, &L::Text_S_Lon_Deg_Change, &L::Text_S_Lon_Deg_KeyPress},
        {m_c.Text_S_Lon_Min, &L::Text_S_Lon_Min_Change, &L::Text_S_Lon_Min_KeyPress},
        {m_c.Text_S_Lon_Sec, &L::Text_S_Lon_Sec_Change, &L::Text_S_Lon_Sec_KeyPress},
    };
    for (const FieldHandlers &field : fields) {
        connect(field.edit, &QLineEdit::textChanged, f, field.change);
        KeyAsciiFilter::install(field.edit, [f, keyPress = field.keyPress](int &k) { (f->*keyPress)(k); });
    }

    onGotFocus(m_c.Comb_M_EO, [f] { f->Comb_M_EO_GotFocus(); });
    onGotFocus(m_c.Comb_M_NS, [f] { f->Comb_M_NS_GotFocus(); });
    onGotFocus(m_c.Comb_S_EO, [f] { f->Comb_S_EO_GotFocus(); });
    onGotFocus(m_c.Comb_S_NS, [f] { f->Comb_S_NS_GotFocus(); });
}

void WinLocAssistance::onGotFocus(QWidget *widget, std::function<void()> handler)
{
    m_focusHandlers.insert(widget, std::move(handler));
    widget->installEventFilter(this);
}

bool WinLocAssistance::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        const auto handler = m_focusHandlers.constFind(watched);
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Coming back to the window, or closing the box's list, is no new visit to the box.
        if (handler != m_focusHandlers.cend() && reason != Qt::ActiveWindowFocusReason
            && reason != Qt::PopupFocusReason)
            (*handler)();
    }
    return QWidget::eventFilter(watched, event);
}

void WinLocAssistance::closeEvent(QCloseEvent *event)
{
    m_assistant.Form_Unload();
    QWidget::closeEvent(event);
}
