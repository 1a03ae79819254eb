#include "QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace tockwell {

bool installQtPolish(QCoreApplication &application)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(u"qtbase_pl"_qs, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    translator.release()->setParent(&application); // lives as long as the application
    return true;
}

} // namespace tockwell
