// Prints the product name and the version parts that TBuildStamp reads from this program.
#include <tbuildstamp/BuildStamp.h>

#include <cstdio>

int main()
{
    TBuildStamp stamp;
    std::printf("%s|%s|%s.%s.%s.%s\n", qPrintable(stamp.GetProductName()), qPrintable(stamp.GetFileVersion()),
                qPrintable(stamp.GetMajorVersion()), qPrintable(stamp.GetMinorVersion()),
                qPrintable(stamp.GetRelease()), qPrintable(stamp.GetBuild()));
    return 0;
}
