#include "StoreFailure.h"

#include "SqliteLibrary.h"

#include <QDir>

#include <cerrno>

namespace tockwell {

StoreError::StoreError(const QString &valueName)
    : Error(u"Nie można zapisać wartości '%1'."_qs.arg(valueName))
{}

StoreError::StoreError(Text, const QString &text) : Error(text) {}

StoreError StoreError::withText(const QString &text)
{
    return StoreError(Text{}, text);
}

bool isDamage(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_FORMAT;
}

bool isBusy(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

QString causeText(StoreFailure failure, const SqliteLibrary *sqlite)
{
    const int code = failure.code;
    const int primary = code & 0xff;
    if (code == LibraryMissing)
        return u"nie można wczytać biblioteki SQLite (%1)"_qs.arg(SqliteLibrary::defaultFileName());
    if (code == SQLITE_OK)
        return u"zapis został przerwany"_qs;
    if (isBusy(code))
        return u"plik jest zajęty przez inny program; spróbuj ponownie za chwilę"_qs;
    if (primary == SQLITE_FULL)
        return u"brak miejsca na dysku"_qs;
    if (primary == SQLITE_READONLY)
        return failure.systemError == EROFS ? u"system plików jest tylko do odczytu"_qs
                                            : u"brak uprawnień do zapisu"_qs;
    switch (failure.systemError) {
    case ENOSPC:
        return u"brak miejsca na dysku"_qs;
    case EDQUOT:
        return u"wyczerpany przydział miejsca na dysku"_qs;
    case EROFS:
        return u"system plików jest tylko do odczytu"_qs;
    case EACCES:
    case EPERM:
        return u"brak uprawnień do zapisu"_qs;
    case ENOTDIR:
    case ENOENT:
        return u"nie można utworzyć folderu na plik ustawień"_qs;
    case EIO:
        return u"błąd odczytu lub zapisu dysku"_qs;
    default:
        break;
    }
    if (primary == SQLITE_CANTOPEN)
        return u"nie można otworzyć ani utworzyć pliku"_qs;
    if (isDamage(code))
        return u"plik jest uszkodzony albo nie jest plikiem ustawień"_qs;
    if (!sqlite)
        return u"błąd bazy danych nr %1"_qs.arg(code);
    return u"błąd bazy danych nr %1 (%2)"_qs.arg(code).arg(QString::fromUtf8(sqlite->errstr(code)));
}

StoreError refusal(const QString &what, const QString &path, const QString &cause)
{
    return StoreError::withText(u"%1\rPlik ustawień: %2\rPrzyczyna: %3."_qs.arg(
        what, QDir::toNativeSeparators(path), cause));
}

QString damagedFileNotice(const QString &damagedCopy)
{
    if (damagedCopy.isEmpty())
        return {};
    return u"Plik ustawień był uszkodzony i nie dało się go odczytać.\r"
           u"Został zachowany pod nazwą:\r%1\r"
           u"Program zaczyna z nowymi ustawieniami."_qs.arg(QDir::toNativeSeparators(damagedCopy));
}

QString unwritableNotice(bool readable, const QString &path, const QString &cause)
{
    const QString file = QDir::toNativeSeparators(path);
    if (readable)
        return u"Nie można zapisywać w pliku ustawień:\r%1\rPrzyczyna: %2.\r"
               u"Ustawienia zostały odczytane, ale zmiany nie zostaną zapamiętane, "
               u"dopóki przyczyna nie zniknie."_qs.arg(file, cause);
    return u"Nie można otworzyć pliku ustawień:\r%1\rPrzyczyna: %2.\r"
           u"Program działa z ustawieniami domyślnymi, a zmiany nie zostaną zapamiętane, "
           u"dopóki przyczyna nie zniknie."_qs.arg(file, cause);
}

} // namespace tockwell
