#include "maker/MakerPages.h"

#include <gtest/gtest.h>

using tovrin::maker::MakerPages;

TEST(MakerPages, ConfiguredHostGivesTheFixedPaths)
{
    const MakerPages pages("maker.example:8080");
    EXPECT_FALSE(pages.builtIn());
    EXPECT_EQ(pages.advertisementAddress(), "http://maker.example:8080/gengxin/ad.php");
    EXPECT_EQ(pages.instructionAddress(), "http://maker.example:8080/gengxin/instruction.html");
    EXPECT_EQ(pages.updateAddress(), "http://maker.example:8080/gengxin/cidiangengxin.html");
}

TEST(MakerPages, NoHostGivesThePagesBuiltIntoTheProgram)
{
    const MakerPages pages("");
    EXPECT_TRUE(pages.builtIn());
    EXPECT_EQ(pages.advertisementAddress(), "qrc:/maker/ad.html");
    EXPECT_EQ(pages.instructionAddress(), "qrc:/maker/instruction.html");
    EXPECT_EQ(pages.updateAddress(), "qrc:/maker/update.html");
}

TEST(MakerPages, CaptionAndNoticeEndWithTheMakersNumber)
{
    EXPECT_EQ(tovrin::maker::WindowCaption("4321"), "Tovrin4321");
    EXPECT_EQ(tovrin::maker::NoticeText("4321"),
              "欢迎大家提出宝贵意见和建议\r\n共同促进本软件的发展\r\n更好地为大家服务\r\nQQ:4321");
}
