#pragma once
// TBuildStamp: the version fields of the running program as read-only properties.
// Every getter reads the program file's version resource again.

#include <QObject>
#include <QString>

#include <string>

#if defined(TBUILDSTAMP_LIBRARY)
#define TBUILDSTAMP_EXPORT Q_DECL_EXPORT
#else
#define TBUILDSTAMP_EXPORT
#endif

class TBUILDSTAMP_EXPORT TBuildStamp : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString CompanyName READ GetCompanyName)
    Q_PROPERTY(QString FileDescription READ GetFileDescription)
    Q_PROPERTY(QString FileVersion READ GetFileVersion)
    Q_PROPERTY(QString InternalName READ GetInternalName)
    Q_PROPERTY(QString LegalCopyright READ GetLegalCopyright)
    Q_PROPERTY(QString LegalTrademarks READ GetLegalTrademarks)
    Q_PROPERTY(QString OriginalFilename READ GetOriginalFilename)
    Q_PROPERTY(QString ProductName READ GetProductName)
    Q_PROPERTY(QString ProductVersion READ GetProductVersion)
    Q_PROPERTY(QString Comments READ GetComments)
    Q_PROPERTY(QString MajorVersion READ GetMajorVersion)
    Q_PROPERTY(QString MinorVersion READ GetMinorVersion)
    Q_PROPERTY(QString Release READ GetRelease)
    Q_PROPERTY(QString Build READ GetBuild)

public:
    explicit TBuildStamp(QObject* owner = nullptr);

    QString GetCompanyName() const { return Field("CompanyName"); }
    QString GetFileDescription() const { return Field("FileDescription"); }
    QString GetFileVersion() const { return Field("FileVersion"); }
    QString GetInternalName() const { return Field("InternalName"); }
    QString GetLegalCopyright() const { return Field("LegalCopyright"); }
    QString GetLegalTrademarks() const { return Field("LegalTrademarks"); }
    QString GetOriginalFilename() const { return Field("OriginalFilename"); }
    QString GetProductName() const { return Field("ProductName"); }
    QString GetProductVersion() const { return Field("ProductVersion"); }
    QString GetComments() const { return Field("Comments"); }
    QString GetMajorVersion() const { return VersionPart(0); }
    QString GetMinorVersion() const { return VersionPart(1); }
    QString GetRelease() const { return VersionPart(2); }
    QString GetBuild() const { return VersionPart(3); }

    // The file whose resource is read: the running program unless set otherwise.
    void SetFileName(const QString& fileName) { FileName = fileName; }
    QString GetFileName() const;

    // The running program's own file.
    static QString ProgramFileName();
    // Leading and trailing blanks and control characters removed.
    static std::string Trim(const std::string& text);
    // Part `index` (from 0) of a "."-separated version text; empty when missing.
    static QString DottedPart(const QString& version, int index);

private:
    QString Field(const char* name) const;
    QString VersionPart(int index) const { return DottedPart(GetFileVersion(), index); }

    QString FileName;
};
