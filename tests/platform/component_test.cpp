#include "platform/component.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/exceptions.h"

namespace {

using Log = std::vector<std::string>;

// Records its end and the notices it hears; OnNote lets a test act inside a notice.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* AOwner, Log& log, std::string id) : TComponent(AOwner), FLog(log), FId(std::move(id)) {}
  ~TProbe() override {
    FLog.push_back("free " + FId + (ComponentState().Contains(csDestroying) ? "" : " (not marked)"));
  }
  std::function<void(TComponent*, TOperation)> OnNote;
  TComponent* Ref = nullptr;
  std::vector<std::pair<TComponent*, TOperation>> Notes;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    Notes.emplace_back(AComponent, Operation);
    if (Operation == opRemove && AComponent == Ref) Ref = nullptr;
    if (OnNote) OnNote(AComponent, Operation);
  }

 private:
  Log& FLog;
  std::string FId;
};

}  // namespace

TEST(Component, OwnerFreesItsComponentsLastFirstAfterMarkingThem) {
  Log log;
  auto* owner = new TProbe(nullptr, log, "owner");
  auto* a = new TProbe(owner, log, "a");
  new TProbe(owner, log, "b");
  new TProbe(a, log, "a1");  // grandchild
  ASSERT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(0), a);
  EXPECT_EQ(a->Owner(), owner);
  EXPECT_EQ(a->ComponentIndex(), 0);
  FreeAndNil(owner);
  EXPECT_EQ(owner, nullptr);
  EXPECT_EQ(log, (Log{"free owner", "free b", "free a", "free a1"}));
}

TEST(Component, ComponentFreedFirstLeavesItsOwner) {
  Log log;
  TProbe owner(nullptr, log, "owner");
  TProbe* a = new TProbe(&owner, log, "a");
  auto* b = new TProbe(&owner, log, "b");
  FreeAndNil(a);
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_EQ(b->ComponentIndex(), 0);
  // The owner heard the removal; the stack owner frees b once at scope end (ASan checks).
  ASSERT_FALSE(owner.Notes.empty());
  EXPECT_EQ(owner.Notes.back().second, opRemove);
}

TEST(Component, OwnerHearsInsertAndRemoveAndPassesThemToSiblings) {
  Log log;
  TProbe owner(nullptr, log, "owner");
  auto* sibling = new TProbe(&owner, log, "sibling");
  TProbe* target = new TProbe(&owner, log, "target");
  EXPECT_EQ(owner.Notes.back(), std::make_pair(static_cast<TComponent*>(target), opInsert));
  EXPECT_EQ(sibling->Notes.back(), std::make_pair(static_cast<TComponent*>(target), opInsert));
  // A sibling clears its reference without registering for free notification.
  sibling->Ref = target;
  TComponent* gone = target;
  FreeAndNil(target);
  EXPECT_EQ(sibling->Ref, nullptr);
  EXPECT_EQ(owner.Notes.back(), std::make_pair(gone, opRemove));
}

TEST(Component, FreeNotificationClearsReferencesBothWays) {
  Log log;
  auto* a = new TProbe(nullptr, log, "a");
  auto* b = new TProbe(nullptr, log, "b");
  b->FreeNotification(a);  // a wants to hear when b goes, and b hears a's end too
  b->FreeNotification(a);  // registering twice is harmless
  a->Ref = b;
  b->Ref = a;
  FreeAndNil(b);
  EXPECT_EQ(a->Ref, nullptr);
  EXPECT_EQ(a->Notes.size(), 1u);

  auto* c = new TProbe(nullptr, log, "c");
  c->FreeNotification(a);
  c->Ref = a;
  FreeAndNil(a);
  EXPECT_EQ(c->Ref, nullptr);
  FreeAndNil(c);  // c must no longer point at a: ASan would see a use after free
}

TEST(Component, RemovedFreeNotificationIsSilent) {
  Log log;
  auto* a = new TProbe(nullptr, log, "a");
  auto* b = new TProbe(nullptr, log, "b");
  a->FreeNotification(b);
  b->RemoveFreeNotification(a);
  FreeAndNil(a);
  EXPECT_TRUE(b->Notes.empty());
  FreeAndNil(b);
}

TEST(Component, NotificationHandlerMayFreeOtherComponents) {
  Log log;
  auto* owner = new TProbe(nullptr, log, "owner");
  auto* watcher = new TProbe(owner, log, "watcher");
  TComponent* victim = new TProbe(owner, log, "victim");
  auto* watched = new TProbe(nullptr, log, "watched");
  watched->FreeNotification(watcher);
  TComponent* const watchedAt = watched;  // FreeAndNil clears watched before the notices go out
  watcher->OnNote = [&](TComponent* c, TOperation op) {
    if (c == watchedAt && op == opRemove) FreeAndNil(victim);
  };
  FreeAndNil(watched);
  EXPECT_EQ(victim, nullptr);
  ASSERT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Components(0), watcher);
  watcher->OnNote = nullptr;
  FreeAndNil(owner);
  EXPECT_EQ(log, (Log{"free watched", "free victim", "free owner", "free watcher"}));
}

TEST(Component, HandlerFreesASiblingWhileTheOwnerGoes) {
  Log log;
  auto* owner = new TProbe(nullptr, log, "owner");
  auto* watcher = new TProbe(owner, log, "watcher");
  TComponent* middle = new TProbe(owner, log, "middle");
  auto* trigger = new TProbe(owner, log, "trigger");
  trigger->FreeNotification(watcher);
  TComponent* const triggerAt = trigger;
  watcher->OnNote = [&](TComponent* c, TOperation op) {
    if (c == triggerAt && op == opRemove) FreeAndNil(middle);
  };
  // The owner frees trigger first; watcher's handler frees middle, which must
  // leave the owner's list so the owner does not free it again.
  FreeAndNil(owner);
  EXPECT_EQ(middle, nullptr);
  EXPECT_EQ(log, (Log{"free owner", "free trigger", "free middle", "free watcher"}));
}

TEST(Component, NamesAreCheckedAndFoundCaseInsensitively) {
  Log log;
  TProbe owner(nullptr, log, "owner");
  auto* a = new TProbe(&owner, log, "a");
  auto* b = new TProbe(&owner, log, "b");
  a->SetName("Button1");
  EXPECT_EQ(owner.FindComponent("BUTTON1"), a);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  EXPECT_EQ(owner.FindComponent("Button2"), nullptr);
  EXPECT_THROW(b->SetName("button1"), EComponentError);
  EXPECT_EQ(b->Name(), "");
  a->SetName("BUTTON1");  // renaming to itself in another case is fine
  EXPECT_EQ(a->Name(), "BUTTON1");
  EXPECT_THROW(b->SetName("1st"), EComponentError);
  EXPECT_THROW(b->SetName("a b"), EComponentError);
  b->SetName("_b2");
  EXPECT_EQ(owner.FindComponent("_B2"), b);
}

TEST(Component, InsertAndRemoveComponentMoveOwnership) {
  Log log;
  TProbe first(nullptr, log, "first");
  TProbe second(nullptr, log, "second");
  auto* c = new TProbe(&first, log, "c");
  c->SetName("Item");
  second.InsertComponent(c);
  EXPECT_EQ(c->Owner(), &second);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(second.FindComponent("item"), c);

  auto* clash = new TProbe(&first, log, "clash");
  clash->SetName("Item");
  EXPECT_THROW(second.InsertComponent(clash), EComponentError);
  EXPECT_EQ(clash->Owner(), &first);

  second.RemoveComponent(c);
  EXPECT_EQ(c->Owner(), nullptr);
  EXPECT_EQ(second.ComponentCount(), 0);
  FreeAndNil(c);  // no owner any more: ours to free
}

TEST(Component, ComponentsIndexIsChecked) {
  TComponent owner(nullptr);
  new TComponent(&owner);
  EXPECT_NO_THROW(owner.Components(0));
  try {
    owner.Components(1);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message, "List index out of bounds (1)");
  }
  EXPECT_THROW(owner.Components(-1), EListError);
}

TEST(Component, StateFlags) {
  TComponent owner(nullptr);
  auto* child = new TComponent(&owner);
  EXPECT_TRUE(owner.ComponentState().empty());
  owner.Loading();
  EXPECT_TRUE(owner.ComponentState().Contains(csLoading));
  owner.Loaded();
  EXPECT_FALSE(owner.ComponentState().Contains(csLoading));
  owner.Destroying();
  EXPECT_TRUE(child->ComponentState().Contains(csDestroying));
  child->SetTag(42);
  EXPECT_EQ(child->Tag(), 42);
}
