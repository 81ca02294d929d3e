// Sets Qt's default locale for the lifetime of the guard and restores the previous one.
#pragma once
#include <QLocale>

class LocaleGuard {
public:
    explicit LocaleGuard(const QLocale& locale) : FSaved(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(FSaved); }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;

    static QLocale Russian() { return QLocale(QLocale::Russian, QLocale::Russia); }
    static QLocale English() { return QLocale(QLocale::English, QLocale::UnitedStates); }

private:
    QLocale FSaved;
};
