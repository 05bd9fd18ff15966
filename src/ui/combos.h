#pragma once

#include <QComboBox>
#include <QStringList>

namespace ui {

// Fills a combo box's list at start-up. Adding the first item to an editable combo box would replace the text it
// shows: the text stays.
inline void fillKeepingText(QComboBox *combo, const QStringList &items)
{
    const QString text = combo->currentText();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

} // namespace ui
