#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "qzsystem/list.h"

namespace {

struct Member : Object {
  explicit Member(int tag) : Tag(tag) {}
  void OnAddToList(List* list) override { Added.push_back(list); }
  void OnRemoveFromList(List* list) override { Removed.push_back(list); }
  int Tag;
  std::vector<List*> Added;
  std::vector<List*> Removed;
};

std::vector<int> Walk(const List& list) {
  std::vector<int> tags;
  for (ListNode* node = list.GetNext(nullptr); node; node = list.GetNext(node)) {
    tags.push_back(static_cast<Member*>(node->Obj())->Tag);
  }
  return tags;
}

TEST(List, GetNextOfNullStartsTheWalkInAddOrder) {
  Member a(1), b(2), c(3);
  List list;
  list.Add(&a);
  list.Add(&b, 5, 0x10);
  list.Add(&c);
  EXPECT_EQ(list.GetNext(nullptr), list.GetFirst());
  EXPECT_EQ(Walk(list), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(list.Count(), 3u);
}

TEST(List, EmptyListWalksNothing) {
  List list;
  EXPECT_EQ(list.GetFirst(), nullptr);
  EXPECT_EQ(list.GetNext(nullptr), nullptr);
  Member a(1);
  EXPECT_EQ(list.Remove(&a), 0u);
}

TEST(List, RemovingTheCurrentNodeDuringAWalkContinuesWithTheNext) {
  Member a(1), b(2), c(3), d(4);
  List list;
  for (Member* m : {&a, &b, &c, &d}) list.Add(m);
  std::vector<int> visited;
  for (ListNode* node = list.GetFirst(); node; node = list.GetNext(node)) {
    auto* member = static_cast<Member*>(node->Obj());
    visited.push_back(member->Tag);
    if (member->Tag % 2 == 0) list.Remove(member);
  }
  EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(Walk(list), (std::vector<int>{1, 3}));
  EXPECT_EQ(list.Count(), 2u);
}

TEST(List, RemovingTheNextNodesDuringAWalkSkipsThem) {
  Member a(1), b(2), c(3), d(4);
  List list;
  for (Member* m : {&a, &b, &c, &d}) list.Add(m);
  std::vector<int> visited;
  for (ListNode* node = list.GetFirst(); node; node = list.GetNext(node)) {
    auto* member = static_cast<Member*>(node->Obj());
    visited.push_back(member->Tag);
    if (member->Tag == 1) {
      list.Remove(&a);
      list.Remove(&b);
      list.Remove(&c);
    }
  }
  EXPECT_EQ(visited, (std::vector<int>{1, 4}));
}

TEST(List, RemoveTakesOnlyTheFirstNodeHoldingTheObject) {
  Member a(1), b(2);
  List list;
  list.Add(&a);
  list.Add(&b);
  list.Add(&a);
  EXPECT_EQ(list.Remove(&a), 1u);
  EXPECT_EQ(Walk(list), (std::vector<int>{2, 1}));
  EXPECT_EQ(list.Remove(&a), 1u);
  EXPECT_EQ(list.Remove(&a), 0u);
  EXPECT_EQ(Walk(list), (std::vector<int>{2}));
}

TEST(List, RemovingTheLastNodeKeepsAppendingAtTheEnd) {
  Member a(1), b(2), c(3);
  List list;
  list.Add(&a);
  list.Add(&b);
  list.Remove(&b);
  list.Add(&c);
  EXPECT_EQ(Walk(list), (std::vector<int>{1, 3}));
}

TEST(List, MembersAreToldWhenAddedAndRemovedButNotWhenCleared) {
  Member a(1), b(2);
  List list;
  list.Add(&a);
  list.Add(&b);
  list.Remove(&a);
  list.Clear();
  EXPECT_EQ(a.Added, (std::vector<List*>{&list}));
  EXPECT_EQ(a.Removed, (std::vector<List*>{&list}));
  EXPECT_TRUE(b.Removed.empty());
  EXPECT_EQ(list.Count(), 0u);
}

TEST(List, TheListTakesNoReference) {
  auto* object = new Member(1);
  {
    List list;
    list.Add(object);
    EXPECT_EQ(object->References(), 1);
  }
  EXPECT_EQ(object->References(), 1);
  object->Recycle();
}

TEST(List, StringsAreOwnedCopies) {
  char text[] = "3x3";
  List list;
  list.AddString(text);
  list.AddString(nullptr);
  text[0] = '5';
  ListNode* first = list.GetFirst();
  EXPECT_STREQ(first->Str(), "3x3");
  EXPECT_STREQ(list.GetNext(first)->Str(), "");
}

TEST(List, NodesStayPutAsTheListGrows) {
  std::vector<std::unique_ptr<Member>> members;
  for (int i = 0; i < 100; ++i) members.push_back(std::make_unique<Member>(i));
  List list;
  ListNode* first = list.Add(members[0].get());
  for (int i = 1; i < 100; ++i) list.Add(members[i].get());
  EXPECT_EQ(list.GetFirst(), first);
  EXPECT_EQ(first->Obj(), members[0].get());
  EXPECT_EQ(list.Find(members[57].get())->Obj(), members[57].get());
  EXPECT_EQ(list.Count(), 100u);
}

TEST(List, FreedNodesAreReusedOldestFirst) {
  Member a(1), b(2), c(3), d(4);
  List list;
  ListNode* na = list.Add(&a);
  ListNode* nb = list.Add(&b);
  list.Remove(&a);
  list.Remove(&b);
  // Fresh nodes from the first block come before the ones just freed.
  for (int i = 0; i < 14; ++i) list.Add(&c);
  EXPECT_EQ(list.Add(&d), na);
  EXPECT_EQ(list.Add(&d), nb);
}

TEST(List, FindLooksForTheObject) {
  Member a(1), b(2);
  List list;
  list.Add(&a);
  EXPECT_NE(list.Find(&a), nullptr);
  EXPECT_EQ(list.Find(&b), nullptr);
}

}  // namespace
