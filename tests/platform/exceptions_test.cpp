#include "platform/exceptions.h"

#include <gtest/gtest.h>

TEST(Exceptions, TreeIsRootedAtException) {
  try {
    throw EReadError("Stream read error");
  } catch (const EStreamError& e) {
    EXPECT_EQ(e.Message, "Stream read error");
    EXPECT_STREQ(e.what(), "Stream read error");
    const Exception* root = &e;
    EXPECT_NE(root, nullptr);
  }
}
