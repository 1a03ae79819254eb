#include "ActionPanel.h"

namespace tockwell {

ActionPanel::ActionPanel(const char *name, QWidget *parent) : QWidget(parent)
{
    setObjectName(QLatin1String(name));
    setGeometry(4, 44, 230, 118);
    hide();
}

} // namespace tockwell
