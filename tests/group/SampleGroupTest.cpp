// The committed sample group file still reads as the five-room group the sample promises.
#include "group/CGroupFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace orv {
namespace {

TEST(SampleGroup, SampleFileReadsAsFiveConferenceRooms) {
    CGroupFileData data;
    std::string error;
    ASSERT_TRUE(CGroupFile::read(ORV_SOURCE_DIR "/samples/Sample.sch", data, error)) << error;
    EXPECT_TRUE(data.newFormat);
    EXPECT_EQ(data.description, "Conference Rooms");
    EXPECT_EQ(data.kindWord, "Room");
    ASSERT_EQ(data.items.size(), 5u);
    EXPECT_EQ(data.items[0].name(), "Boardroom");
    EXPECT_EQ(data.items[4].name(), "Auditorium");
    for (const CRoom& item : data.items) {
        EXPECT_GT(item.occupancy(), 0) << item.name();
        EXPECT_GT(item.defaultLength(), 0) << item.name();
        EXPECT_FALSE(item.longDescription().empty()) << item.name();
    }
    EXPECT_EQ(data.peopleFileName, "");
}

TEST(SampleGroup, SampleFileIsExactlyWhatTheWriterProduces) {
    // A file that differs from its own rewrite would change on the first save in the program.
    const std::string path = ORV_SOURCE_DIR "/samples/Sample.sch";
    CGroupFileData data;
    std::string error;
    ASSERT_TRUE(CGroupFile::read(path, data, error)) << error;
    std::string bytes;
    ASSERT_TRUE(CGroupFile::serialize(data, bytes, error)) << error;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::string onDisk;
    char buf[512];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
        onDisk.append(buf, n);
    std::fclose(f);
    EXPECT_EQ(bytes, onDisk);
}

} // namespace
} // namespace orv
