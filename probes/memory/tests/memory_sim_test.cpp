// Memory rows, the swap-file row and drive rows on simulated NT and 9x machines.
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

constexpr std::string_view kDriveColumns =
    "filelist,Kind,10,Drive,30,Type,12,FS,11,Free,14\nFNAMEPATH,DRVTYPE,MEDIATYPE,FSIZE\nA,A,A,A,A";
constexpr std::string_view kMemory =
    "[memory]\ntotal_phys = 1000001\navail_phys = 1000000\ntotal_page_file = 5000000000\n"
    "avail_page_file = 1000\ntotal_virtual = 2147352576\navail_virtual = 2147352576\n";
constexpr std::string_view kThreeRows =
    "Total Memory,2147.3MB,2147.3MB,0\nPhysical Memory,1.0MB,1000.0K,1\nPaging Memory,5.0G,1000,4.9G\n";

std::string Windows98() { return probe_test::MinimalSystem("9x", 4, 10); }

TEST(SystemMemory, ExtendedSectionListsPoolLimitsAndHiveSizesOnNtOnly) {
    testing::SimImage image(std::string(kavlo::testing::kMinimalSystem) + std::string(kMemory));
    image.Registry("10-memory",
                   "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control]\n\"RegistrySizeLimit\"=dword:01000000\n"
                   "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management]\n"
                   "\"PagedPoolSize\"=dword:00000000\n\"PagedPoolQuota\"=\"4096\"\n");
    image.DriveFile("WINNT/system32/config/SOFTWARE", std::string(2048, 'h'));
    image.DriveFile("WINNT/system32/config/SYSTEM.ALT", std::string(1000, 'h'));
    image.DriveFile("WINNT/system32/config/systemprofile/ntuser.dat", "not a hive of this folder");
    EXPECT_EQ(image.Run("col", "CSystemMemory:").text, kThreeRows);  // not asked for
    const std::string text = image.Run("col", "CSystemMemory:x1").text;
    ASSERT_EQ(text.substr(0, kThreeRows.size()), kThreeRows);
    EXPECT_EQ(text.substr(kThreeRows.size()),
              "  ,  ,  ,  \n"
              "RegistrySizeLimit,16777216, , ,\nPagedPoolSize,0, , ,\nNonPagedPoolSize,Not Present, , ,\n"
              "PagedPoolQuota,4096, , ,\nNonPagedPoolQuota,Not Present, , ,\n"
              "  ,  ,  ,  \n"
              "SOFTWARE,2.0K,, , \nSYSTEM.ALT,1000,, , \n");
    testing::SimImage old(Windows98() + std::string(kMemory));
    EXPECT_EQ(old.Run("col", "CSystemMemory:1").text, kThreeRows) << "the extended section is for NT systems";
}

TEST(SwapFileSize, NtShowsTheAvailablePagingFile) {
    testing::SimImage image(std::string(kavlo::testing::kMinimalSystem) + std::string(kMemory));
    EXPECT_EQ(image.Run(kDriveColumns, "SwapFileSize:").text, "0,Swap File,,,,1000 avail\n");
}

TEST(SwapFileSize, Windows9xAsksForTheSwapFile) {
    testing::SimImage image(Windows98() + "[swap file]\npath = C:\\WINDOWS\\WIN386.SWP\nsize = 67108864\n");
    EXPECT_EQ(image.Run(kDriveColumns, "SwapFileSize:").text, "0,Swap File,C:\\WINDOWS\\WIN386.SWP,,,67.1MB\n");
    testing::SimImage noPager(Windows98());
    EXPECT_EQ(noPager.Run(kDriveColumns, "SwapFileSize:").text, "0,Swap File,,,,0\n");
}

TEST(LocalHDSize, EveryDriveOrTheListedOnes) {
    testing::SimImage image(std::string(kavlo::testing::kMinimalSystem) +
                            "[drive A:]\ntype = removable\nready = no\n[drive E:]\ntype = remote\nfile_system = NTFS\n"
                            "free_bytes = 3000000000\ntotal_bytes = 9000000000\n");
    EXPECT_EQ(image.Run(kDriveColumns, "LocalHDSize:").text,
              "0,Drive,A:\\,Removable,,,\n0,Drive,C:\\,HardDrive,NTFS,1000 Avail,\n"
              "0,Drive,E:\\,Network,NTFS,3.0G Avail,\n");
    EXPECT_EQ(image.Run(kDriveColumns, "LocalHDSize:data,E:\\").text, "0,Drive,E:\\,Network,NTFS,3.0G Avail,\n");
    EXPECT_EQ(image.Run(kDriveColumns, "LocalHDSize:data,A:\\,,C:\\").text,
              "0,Drive,A:\\,Removable,,,\n0,Drive,C:\\,HardDrive,NTFS,1000 Avail,\n");
}

}  // namespace
}  // namespace kavlo
