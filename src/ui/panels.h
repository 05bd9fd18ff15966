#pragma once

// Shared by the files that build the main window's panels: controls created with their program name as object
// name and placed in twips.

#include "ft847controls.h"
#include "twips.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace panels {

template<typename W, typename... Args>
W *place(QWidget *parent, const char *name, int left, int top, int width, int height, Args &&...args)
{
    auto *w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(QLatin1String(name));
    w->setGeometry(ui::rectTw(left, top, width, height));
    return w;
}

inline QLabel *label(QWidget *parent, const char *name, const QString &text, int left, int top, int width, int height,
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *l = place<QLabel>(parent, name, left, top, width, height, text);
    l->setAlignment(align);
    return l;
}

inline QPushButton *button(
    QWidget *parent, const char *name, const QString &text, int left, int top, int width, int height)
{
    return place<QPushButton>(parent, name, left, top, width, height, text);
}

// A field's caption label, which also names the field for screen readers.
inline QLabel *caption(QWidget *parent, QWidget *buddy, const QString &text, int left, int top, int width, int height)
{
    auto *l = label(parent, "", text, left, top, width, height);
    l->setBuddy(buddy);
    buddy->setAccessibleName(text);
    return l;
}

void buildFrequencyPanel(Ft847Controls &c, QWidget *frame);
void buildScannerPanel(Ft847Controls &c, QWidget *frame);
void buildMemoryPanel(Ft847Controls &c, QWidget *window);

} // namespace panels
