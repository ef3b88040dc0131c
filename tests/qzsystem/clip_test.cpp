#include <gtest/gtest.h>

#include "qzsystem/autoparameter.h"
#include "qzsystem/parameter.h"
#include "tempdir.h"

namespace {

TEST(Clip, LengthCountsConsecutiveFramesFromTheNamedOne) {
  TempDir dir;
  for (const char* frame : {"shot.0001.png", "shot.0002.png", "shot.0003.png", "shot.0005.png"}) dir.Write(frame, "x");
  AutoClip first(new Clip(dir.File("shot.0001.png").c_str(), 0));
  AutoClip second(new Clip(dir.File("shot.0002.png").c_str(), 0));
  AutoClip lone(new Clip(dir.File("shot.0005.png").c_str(), 0));
  EXPECT_EQ(first->Length, 3u);
  EXPECT_EQ(second->Length, 2u);
  EXPECT_EQ(lone->Length, 1u);
}

TEST(Clip, FrameNumbersKeepTheirPadding) {
  TempDir dir;
  for (const char* frame : {"a9.tga", "a10.tga", "b08.tga", "b9.tga", "b10.tga"}) dir.Write(frame, "x");
  AutoClip unpadded(new Clip(dir.File("a9.tga").c_str(), 0));
  AutoClip padded(new Clip(dir.File("b08.tga").c_str(), 0));
  EXPECT_EQ(unpadded->Length, 2u);
  EXPECT_EQ(padded->Length, 1u);
}

TEST(Clip, StillsMissingFilesAndClipsToWriteAreOneFrame) {
  TempDir dir;
  dir.Write("still.png", "x");
  dir.Write("out.0001.png", "x");
  dir.Write("out.0002.png", "x");
  AutoClip still(new Clip(dir.File("still.png").c_str(), 0));
  AutoClip missing(new Clip(dir.File("none.0001.png").c_str(), 0));
  AutoClip toWrite(new Clip(dir.File("out.0001.png").c_str(), 1));
  EXPECT_EQ(still->Length, 1u);
  EXPECT_EQ(missing->Length, 1u);
  EXPECT_EQ(toWrite->Length, 1u);
  EXPECT_STREQ(toWrite->Name, dir.File("out.0001.png").c_str());
}

TEST(Clip, DigitsInTheFolderNameAreNotAFrameNumber) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("take2"));
  dir.Write("take2/plate.png", "x");
  dir.Write("take3", "x");
  AutoClip clip(new Clip(dir.File("take2/plate.png").c_str(), 0));
  EXPECT_EQ(clip->Length, 1u);
}

TEST(Clip, CopiesCompareEqualAndOwnTheirName) {
  AutoClip clip(new Clip("/nowhere/a.png", 0));
  AutoParameter copy(clip->Copy());
  EXPECT_TRUE(SameValue(clip, copy));
  EXPECT_NE(static_cast<Clip*>(copy.Get())->Name, clip->Name);
  AutoClip other(new Clip("/nowhere/b.png", 0));
  EXPECT_FALSE(SameValue(clip, other));
}

}  // namespace
