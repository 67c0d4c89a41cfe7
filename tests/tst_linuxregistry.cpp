// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FailureReport.h"
#include "app/UnitFormMain.h"
#include "controls/lists/TListView.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/software/DesktopEntry.h"
#include "platform/linux/software/DpkgStatus.h"
#include "platform/linux/software/InstalledPrograms.h"
#include "platform/linux/software/LinuxRegistry.h"
#include "support/TestData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString Root = QStringLiteral(PELZORA_TEST_DATA "/programs/root");

QStringList captions(const TFormMain &window)
{
    QStringList texts;
    for (const TListView::Item &item : window.findChild<TListView *>(u"ListView1"_s)->viewItems())
        texts.append(item.caption);
    return texts;
}

QString programKey(const QString &name)
{
    return RegistrySource::UninstallKey + u'\\' + name;
}

} // namespace

class tst_LinuxRegistry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void dpkgStatus();
    void desktopEntryName();
    void rpmPackageNames();
    void snapApplications();
    void uninstallKeyListsEveryPackageManager();
    void programKeysHoldTwoTexts();
    void programsKeepTheirVersions();
    void otherKeysAreMissing();
    void packagesTheSystemNeedsHaveNoCommand();
    void removalCommandsAreReadyForAShell();
    void softwarePageFromTheTree();
    void rpmProgramsJoinWhenRpmAnswers();
    void statusThatDoesNotAnswerHoldsNoTick();
};

void tst_LinuxRegistry::initTestCase()
{
    qputenv("HOME", "/home/ann");
}

// Real stanzas of dpkg's database with written neighbours: a second
// architecture of libc6, a half-configured zlib1g, a removed and a purged
// package, a held one, one awaiting its triggers and one whose description
// looks like fields.
void tst_LinuxRegistry::dpkgStatus()
{
    QCOMPARE(DpkgStatus::installedPackages(testData(Root + u"/var/lib/dpkg/status"_s)),
             (QStringList{u"dash"_s, u"libc6:amd64"_s, u"zlib1g"_s, u"libc6:i386"_s, u"tzdata"_s, u"ca-certificates"_s,
                          u"local-tools"_s}));
    QCOMPARE(DpkgStatus::installedPackages("Package: a\nStatus: install ok installed"), QStringList{u"a"_s});
    QVERIFY(DpkgStatus::installedPackages({}).isEmpty());
}

void tst_LinuxRegistry::desktopEntryName()
{
    const QString vim = Root
        + u"/var/lib/flatpak/app/org.vim.Vim/current/active/export/share/applications/"
          "org.vim.Vim.desktop"_s;
    QCOMPARE(DesktopEntry::name(testData(vim)), u"Vim"_s); // after its translations
    QCOMPARE(DesktopEntry::name("[Desktop Action new]\nName=New window\n[Desktop Entry]\nName=Two\\sWords\\\\\n"),
             u"Two Words\\"_s);
    QCOMPARE(DesktopEntry::name("[Desktop Entry]\nName=\n"), std::nullopt);
    QCOMPARE(DesktopEntry::name({}), std::nullopt);
}

void tst_LinuxRegistry::rpmPackageNames()
{
    QCOMPARE(
        InstalledPrograms::rpmPackageNames(testData(u"programs/rpm-qa.txt"_s)),
        (QStringList{u"filesystem"_s, u"glibc"_s, u"bash"_s, u"kernel-core"_s, u"gpg-pubkey"_s, u"NetworkManager"_s}));
}

void tst_LinuxRegistry::snapApplications()
{
    QVERIFY(InstalledPrograms::isSnapApplication(u"firefox"_s));
    QVERIFY(InstalledPrograms::isSnapApplication(u"hello-world"_s));
    for (const QString &name : {u"bin"_s, u"core"_s, u"core22"_s, u"snapd"_s})
        QVERIFY2(!InstalledPrograms::isSnapApplication(name), qPrintable(name));
}

void tst_LinuxRegistry::uninstallKeyListsEveryPackageManager()
{
    LinuxRegistry registry(Root);
    const std::unique_ptr<RegistryKey> uninstall = registry.openKey(
        u"software\\microsoft\\windows\\currentversion\\uninstall"_s);
    QVERIFY(uninstall);
    QCOMPARE(uninstall->subKeyNames(),
             (QStringList{u"dash"_s, u"libc6:amd64"_s, u"zlib1g"_s, u"libc6:i386"_s, u"tzdata"_s, u"ca-certificates"_s,
                          u"local-tools"_s, u"flatpak:org.example.NoDesktopFile"_s, u"flatpak:org.vim.Vim"_s,
                          u"flatpak-user:org.python.Python311"_s, u"snap:firefox"_s, u"snap:hello-world"_s}));
}

void tst_LinuxRegistry::programKeysHoldTwoTexts()
{
    LinuxRegistry registry(Root);
    const QList<std::array<QString, 3>> programs{
        {u"libc6:i386"_s, u"libc6:i386"_s, u"sudo apt-get remove libc6:i386"_s},
        {u"flatpak:org.vim.Vim"_s, u"Vim"_s, u"flatpak uninstall org.vim.Vim"_s},
        {u"flatpak:org.example.NoDesktopFile"_s, u"org.example.NoDesktopFile"_s,
         u"flatpak uninstall org.example.NoDesktopFile"_s},
        {u"FLATPAK-USER:org.python.python311"_s, u"Python (v3.11)"_s, u"flatpak uninstall org.python.Python311"_s},
        {u"snap:firefox"_s, u"firefox"_s, u"sudo snap remove firefox"_s},
    };
    for (const auto &[keyName, displayName, command] : programs) {
        const std::unique_ptr<RegistryKey> key = registry.openKey(programKey(keyName));
        QVERIFY2(key, qPrintable(keyName));
        const QByteArray stored = displayName.toUtf8() + '\0';
        const std::optional<RegistryValueInfo> info = key->queryValue(u"DisplayName"_s);
        QVERIFY(info);
        QCOMPARE(info->type, RegistryValueType::Sz);
        QCOMPARE(info->size, quint32(stored.size()));
        QCOMPARE(key->readValue(u"DisplayName"_s), stored);
        QCOMPARE(key->readValue(u"uninstallstring"_s), command.toUtf8() + '\0');
        const QByteArray source = command.startsWith(u"sudo apt-get"_s) ? "dpkg"
            : command.startsWith(u"sudo snap"_s)                        ? "Snap"
                                                                        : "Flatpak";
        QCOMPARE(key->readValue(RegistrySource::InstallSourceValue), source + '\0');
        QCOMPARE(key->queryValue(u"Publisher"_s), std::nullopt);
    }
}

// Each package manager's own version, as DisplayVersion; none where it keeps none.
void tst_LinuxRegistry::programsKeepTheirVersions()
{
    LinuxRegistry registry(Root);
    const QList<std::pair<QString, std::optional<QByteArray>>> versions{
        {u"dash"_s, "0.5.12-2"},
        {u"zlib1g"_s, "1:1.2.13.dfsg-1"},
        {u"snap:firefox"_s, "124.0.1-1"},
        {u"flatpak:org.vim.Vim"_s, "9.1.0162"},
        {u"snap:hello-world"_s, std::nullopt},
    };
    for (const auto &[keyName, version] : versions) {
        const std::unique_ptr<RegistryKey> key = registry.openKey(programKey(keyName));
        QVERIFY2(key, qPrintable(keyName));
        QCOMPARE(key->readValue(RegistrySource::DisplayVersionValue),
                 version ? std::optional(*version + '\0') : std::nullopt);
    }
    const QList<RpmPackage> rpm = InstalledPrograms::rpmPackages(
        "bash\t5.2.26-3.fc40\nbash\t5.2.26-3.fc40\nzsh\n\t1\n");
    QCOMPARE(rpm.size(), 2);
    QCOMPARE(rpm.at(0).version, u"5.2.26-3.fc40"_s);
    QCOMPARE(rpm.at(1).name, u"zsh"_s);
    QCOMPARE(rpm.at(1).version, QString());
    QCOMPARE(InstalledPrograms::appStreamVersion("<component><releases><release"), QString());
}

void tst_LinuxRegistry::otherKeysAreMissing()
{
    LinuxRegistry registry(Root);
    QVERIFY(!registry.openKey(programKey(u"cups-filters"_s))); // removed, its configuration left
    QVERIFY(!registry.openKey(programKey(u"snap:core22"_s)));
    QVERIFY(!registry.openKey(programKey(u"dash\\sub"_s)));
    QVERIFY(!registry.openKey(u"SOFTWARE\\Microsoft"_s));

    const QTemporaryDir bare;
    const std::unique_ptr<RegistryKey> empty = LinuxRegistry(bare.path()).openKey(RegistrySource::UninstallKey);
    QVERIFY(empty);
    QVERIFY(empty->subKeyNames().isEmpty());
}

// dash is Essential, tzdata of Priority required: apt would refuse them or ask for a sentence.
void tst_LinuxRegistry::packagesTheSystemNeedsHaveNoCommand()
{
    QStringList required;
    for (const DpkgStatus::Package &package : DpkgStatus::installed(testData(Root + u"/var/lib/dpkg/status"_s)))
        if (package.required)
            required.append(package.name);
    QCOMPARE(required, (QStringList{u"dash"_s, u"tzdata"_s}));

    LinuxRegistry registry(Root);
    const std::unique_ptr<RegistryKey> dash = registry.openKey(programKey(u"dash"_s));
    QVERIFY(dash);
    QCOMPARE(dash->queryValue(u"UninstallString"_s), std::nullopt);
    const std::optional<RegistryValueInfo> noRemove = dash->queryValue(RegistrySource::NoRemoveValue);
    QVERIFY(noRemove);
    QCOMPARE(noRemove->type, RegistryValueType::DWord);
    QCOMPARE(dash->readValue(RegistrySource::NoRemoveValue), QByteArray("\x01\0\0\0", 4));
    QCOMPARE(registry.openKey(programKey(u"zlib1g"_s))->queryValue(RegistrySource::NoRemoveValue), std::nullopt);
}

void tst_LinuxRegistry::removalCommandsAreReadyForAShell()
{
    QCOMPARE(InstalledPrograms::removalCommand(u"apt-get remove"_s, u"libc6:i386"_s), u"apt-get remove libc6:i386"_s);
    QCOMPARE(InstalledPrograms::removalCommand(u"dnf remove"_s, u"it's; rm -rf ~"_s),
             u"dnf remove 'it'\\''s; rm -rf ~'"_s);
    // A name whose bytes were not UTF-8 has lost them: no command could name it.
    const QByteArray status = "Package: bad\xff\xfeutf8\nStatus: install ok installed\n";
    const QList<DpkgStatus::Package> packages = DpkgStatus::installed(status);
    QCOMPARE(packages.size(), 1);
    QCOMPARE(InstalledPrograms::removalCommand(u"apt-get remove"_s, packages.constFirst().name), QString());
}

void tst_LinuxRegistry::softwarePageFromTheTree()
{
    LinuxPlatform platform(Root);
    const FailureReport failureReport([](const QString &message) { QFAIL(qPrintable(message)); });
    TFormMain window(platform, failureReport);
    window.Timer6Timer();
    QTRY_COMPARE(captions(window),
                 (QStringList{u"ca-certificates"_s, u"dash"_s, u"firefox"_s, u"hello-world"_s, u"libc6:amd64"_s,
                              u"libc6:i386"_s, u"local-tools"_s, u"org.example.NoDesktopFile"_s, u"Python (v3.11)"_s,
                              u"tzdata"_s, u"Vim"_s, u"zlib1g"_s}));
}

void tst_LinuxRegistry::rpmProgramsJoinWhenRpmAnswers()
{
    // A tree with one dpkg package and an rpm database, and an rpm command that takes a second.
    const QTemporaryDir tree;
    QDir(tree.path()).mkpath(u"var/lib/dpkg"_s);
    QDir(tree.path()).mkpath(u"var/lib/rpm"_s);
    QDir(tree.path()).mkpath(u"bin"_s);
    const auto write = [&tree](const QString &path, const QByteArray &text) {
        QFile file(tree.filePath(path));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    };
    write(u"var/lib/dpkg/status"_s, "Package: dash\nStatus: install ok installed\n");
    write(u"var/lib/rpm/rpmdb.sqlite"_s, {});
    write(u"bin/rpm"_s, "#!/bin/sh\nsleep 1\nprintf 'zsh\\nbash\\n'\n");
    QFile::setPermissions(tree.filePath(u"bin/rpm"_s), QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(tree.filePath(u"bin"_s)) + ':' + path);
    const auto restorePath = qScopeGuard([&path] { qputenv("PATH", path); });

    LinuxPlatform platform(tree.path());
    const FailureReport failureReport([](const QString &message) { QFAIL(qPrintable(message)); });
    TFormMain window(platform, failureReport);
    QElapsedTimer fill;
    fill.start();
    window.Timer6Timer();
    QCOMPARE_LT(fill.elapsed(), 500);
    QTRY_COMPARE(captions(window), QStringList{u"dash"_s});
    QTRY_COMPARE_WITH_TIMEOUT(captions(window), (QStringList{u"bash"_s, u"dash"_s, u"zsh"_s}), 10'000);
}

// dpkg's status as a pipe nobody writes yet, as a file on a hung share would be: Timer6 returns at
// once and the list fills when the file answers.
void tst_LinuxRegistry::statusThatDoesNotAnswerHoldsNoTick()
{
    const QTemporaryDir tree;
    QDir(tree.path()).mkpath(u"var/lib/dpkg"_s);
    const QByteArray status = QFile::encodeName(tree.filePath(u"var/lib/dpkg/status"_s));
    QCOMPARE(::mkfifo(status.constData(), 0600), 0);
    LinuxPlatform platform(tree.path());
    const FailureReport failureReport([](const QString &message) { QFAIL(qPrintable(message)); });
    TFormMain window(platform, failureReport);
    QElapsedTimer tick;
    tick.start();
    window.Timer6Timer();
    QCOMPARE_LT(tick.elapsed(), 500);
    QCOMPARE(captions(window), QStringList());
    QFile writer(QFile::decodeName(status));
    QVERIFY(writer.open(QIODevice::WriteOnly));
    writer.write("Package: dash\nStatus: install ok installed\n");
    writer.close();
    QTRY_COMPARE(captions(window), QStringList{u"dash"_s});
}

QTEST_MAIN(tst_LinuxRegistry)
#include "tst_linuxregistry.moc"
