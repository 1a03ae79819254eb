#include "SubActionPanel.h"

namespace tockwell {

SubActionPanel::SubActionPanel(const char *name, QWidget *parent) : QWidget(parent)
{
    setObjectName(QLatin1String(name));
    setGeometry(0, 42, 230, 76);
    hide();
}

} // namespace tockwell
