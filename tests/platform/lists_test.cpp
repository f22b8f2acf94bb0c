#include "platform/lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int items[8];
void* P(int i) { return &items[i]; }

std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EListError& e) {
    return e.Message;
  }
  return "no error";
}

class TRecordingList : public TList {
 public:
  ~TRecordingList() override { Clear(); }
  std::vector<std::string> Log;

 protected:
  void Notify(void* Ptr, TListNotification Action) override {
    const char* names[] = {"added", "extracted", "deleted"};
    Log.push_back(std::string(names[Action]) + " " + std::to_string(static_cast<int*>(Ptr) - items));
  }
};

}  // namespace

TEST(List, IndexesAreCheckedWithTheLibraryMessage) {
  TList list;
  EXPECT_EQ(MessageOf([&] { list.First(); }), "List index out of bounds (0)");
  EXPECT_EQ(MessageOf([&] { list.Last(); }), "List index out of bounds (-1)");
  list.Add(P(0));
  EXPECT_EQ(MessageOf([&] { list.Items(1); }), "List index out of bounds (1)");
  EXPECT_EQ(MessageOf([&] { list.Put(-1, nullptr); }), "List index out of bounds (-1)");
  EXPECT_EQ(MessageOf([&] { list.Delete(1); }), "List index out of bounds (1)");
  EXPECT_EQ(MessageOf([&] { list.Insert(2, nullptr); }), "List index out of bounds (2)");
  EXPECT_EQ(MessageOf([&] { list.Move(0, 1); }), "List index out of bounds (1)");
  EXPECT_EQ(MessageOf([&] { list.Exchange(0, 5); }), "List index out of bounds (5)");
  EXPECT_EQ(MessageOf([&] { list.SetCount(-1); }), "List count out of bounds (-1)");
  EXPECT_EQ(MessageOf([&] { list.SetCapacity(0); }), "List capacity out of bounds (0)");
  list.Insert(1, P(1));  // inserting at Count appends
  EXPECT_EQ(list.Last(), P(1));
}

TEST(List, EditingOperations) {
  TList list;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list.Add(P(i)), i);
  list.Move(0, 3);  // 1 2 3 0
  EXPECT_EQ(list[3], P(0));
  EXPECT_EQ(list[0], P(1));
  list.Exchange(0, 3);  // 0 2 3 1
  EXPECT_EQ(list.First(), P(0));
  EXPECT_EQ(list.Remove(P(3)), 2);
  EXPECT_EQ(list.Remove(P(7)), -1);
  EXPECT_EQ(list.Extract(P(2)), P(2));
  EXPECT_EQ(list.Extract(P(2)), nullptr);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.IndexOf(P(1)), 1);

  list.SetCount(5);  // grows with nil
  EXPECT_EQ(list[4], nullptr);
  list.Put(3, P(5));
  list.Pack();
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list[2], P(5));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(List, NotifyHearsEveryItemThatComesAndGoes) {
  TRecordingList list;
  list.Add(P(0));
  list.Add(nullptr);  // nil items are not announced
  list.Insert(0, P(1));
  list.Extract(P(0));
  list.Put(0, P(2));
  list.Delete(0);
  list.Add(P(3));
  list.Add(P(4));
  list.SetCount(1);
  EXPECT_EQ(list.Log, (std::vector<std::string>{"added 0", "added 1", "extracted 0", "deleted 1", "added 2",
                                                "deleted 2", "added 3", "added 4", "deleted 4", "deleted 3"}));
}

TEST(List, SortIsStableAndSurvivesABadComparison) {
  TList list;
  int values[] = {3, 1, 2, 1, 3, 0};
  for (int& v : values) list.Add(&v);
  list.Sort([](void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); });
  std::vector<void*> expected = {&values[5], &values[1], &values[3], &values[2], &values[0], &values[4]};
  EXPECT_EQ(std::vector<void*>(list.begin(), list.end()), expected);

  // A comparison that contradicts itself must not take the sort out of bounds.
  TList big;
  for (int i = 0; i < 200; ++i) big.Add(P(i % 8));
  unsigned seed = 1;
  big.Sort([&](void*, void*) {
    seed = seed * 1103515245 + 12345;
    return static_cast<int>((seed >> 16) % 3) - 1;
  });
  EXPECT_EQ(big.Count(), 200);

  // A comparison that throws leaves the list untouched.
  EXPECT_THROW(list.Sort([](void*, void*) -> int { throw EListError("stop"); }), EListError);
  EXPECT_EQ(std::vector<void*>(list.begin(), list.end()), expected);
}

namespace {

struct TTracked : TObject {
  TTracked(int id, std::vector<int>& freed, TObjectList<TTracked>* list = nullptr) : Id(id), Freed(freed), List(list) {}
  ~TTracked() override {
    Freed.push_back(Id);
    // It has left the list before it is freed.
    if (List) {
      EXPECT_EQ(List->IndexOf(this), -1);
    }
  }
  int Id;
  std::vector<int>& Freed;
  TObjectList<TTracked>* List;
};

}  // namespace

TEST(ObjectList, OwningListFreesWhatLeavesIt) {
  std::vector<int> freed;
  {
    TObjectList<TTracked> list;
    for (int i = 0; i < 5; ++i) list.Add(new TTracked(i, freed, &list));
    list.Delete(0);
    EXPECT_EQ(freed, std::vector<int>{0});
    EXPECT_EQ(list.Remove(list[0]), 0);  // frees 1
    TTracked* kept = list.Extract(list[0]);
    EXPECT_EQ(kept->Id, 2);
    EXPECT_EQ(freed, (std::vector<int>{0, 1}));
    list.Put(0, kept);  // replaces 3, freeing it
    EXPECT_EQ(freed, (std::vector<int>{0, 1, 3}));
    list.Add(new TTracked(5, freed, &list));
  }
  // The rest went with the list, last first.
  EXPECT_EQ(freed, (std::vector<int>{0, 1, 3, 5, 4, 2}));
}

TEST(ObjectList, NonOwningListLeavesObjectsAlone) {
  std::vector<int> freed;
  TTracked a(1, freed), b(2, freed);
  {
    TObjectList<TTracked> list(false);
    list.Add(&a);
    list.Add(&b);
    list.Sort([](TTracked* x, TTracked* y) { return y->Id - x->Id; });
    EXPECT_EQ(list.First(), &b);
    list.Delete(0);
    list.Clear();
    EXPECT_THROW(list.Items(0), EListError);
  }
  EXPECT_TRUE(freed.empty());
}

TEST(ObjectList, OwnsPlainTypesToo) {
  TObjectList<std::string> list;
  list.Add(new std::string("a"));
  list.Insert(0, new std::string("b"));
  EXPECT_EQ(*list[0], "b");
  list.Move(0, 1);
  EXPECT_EQ(*list.Last(), "b");
  list.Exchange(0, 1);
  EXPECT_EQ(*list.First(), "b");
}
