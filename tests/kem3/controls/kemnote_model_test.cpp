// The notebook's pages: after every change exactly the page at PageIndex shows.
#include "kem3/controls/kemnote_model.h"

#include <gtest/gtest.h>

#include "platform/exceptions.h"

TEST(NotePages, ThePageAtPageIndexIsTheOneShown) {
  int a = 0, b = 1, c = 2;
  TNotePages<int> pages;
  EXPECT_EQ(pages.Current(), nullptr);
  pages.Insert(0, &a);
  EXPECT_EQ(pages.Current(), &a);
  pages.Insert(1, &b);
  EXPECT_EQ(pages.PageIndex(), 1);
  pages.Insert(1, &c);  // at the current index: the new page shows
  EXPECT_EQ(pages.Current(), &c);
  pages.Move(1, 2);  // swapped: the index stays, the page under it changes
  EXPECT_EQ(pages.Current(), &b);
  EXPECT_FALSE(pages.SetPageIndex(3));
  EXPECT_FALSE(pages.SetPageIndex(-1));
  EXPECT_FALSE(pages.SetPageIndex(1));
  EXPECT_TRUE(pages.SetPageIndex(0));
  EXPECT_EQ(pages.Delete(0), &a);  // the current page deleted: page 0 shows
  EXPECT_EQ(pages.PageIndex(), 0);
  EXPECT_EQ(pages.Current(), &b);
  EXPECT_EQ(pages.IndexOf(&c), 1);
  EXPECT_THROW(pages.Delete(2), EListError);
  EXPECT_THROW(pages.Move(0, 5), EListError);
  EXPECT_EQ(pages.Clear().size(), 2u);
  EXPECT_EQ(pages.PageIndex(), -1);
  EXPECT_EQ(pages.Current(), nullptr);
  pages.Insert(0, &a);
  EXPECT_EQ(pages.Delete(0), &a);
  EXPECT_EQ(pages.PageIndex(), -1);
}
