// TComponent: the owner mechanism. A component created with an owner is freed by
// it; one freed first leaves its owner's list; components that asked for free
// notification hear about each other's end, so references can be cleared in time.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/object.h"
#include "platform/set.h"
#include "platform/types.h"

enum TComponentStateItem { csLoading, csDestroying, csDesigning };
using TComponentState = Set<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

class TComponent : public TObject {
 public:
  // With an owner the component joins its list (opInsert reaches the owner while
  // this constructor still runs: compare the pointer, don't ask for its type).
  explicit TComponent(TComponent* AOwner);
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  // In order: tells every free-notification partner (opRemove), frees the owned
  // components last first, leaves the owner (which hears opRemove and passes it
  // on to its other components). C++ has taken the derived parts away by then,
  // so a derived class whose Notification must see its children go calls
  // DestroyComponents() in its own destructor.
  ~TComponent() override;
  // Marks the component and everything it owns csDestroying before any destructor runs.
  void BeforeDestruction() override;

  TComponent* Owner() const { return FOwner; }
  const String& Name() const { return FName; }
  // EComponentError for a name that is not an identifier or that another
  // component of the same owner has (compared case-insensitively). "" is allowed.
  virtual void SetName(const String& NewName);
  std::intptr_t Tag() const { return FTag; }
  void SetTag(std::intptr_t Value) { FTag = Value; }
  TComponentState ComponentState() const { return FComponentState; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;  // EListError out of bounds
  int ComponentIndex() const;               // position in the owner's list, -1 without owner
  // Case-insensitive (ASCII); nil for "" or when no owned component has the name.
  TComponent* FindComponent(const String& AName) const;

  // Takes AComponent from its previous owner, if any; EComponentError when its
  // name clashes with one of ours.
  void InsertComponent(TComponent* AComponent);
  // Lets AComponent go without freeing it; it then has no owner.
  void RemoveComponent(TComponent* AComponent);
  // Both components will hear Notification(other, opRemove) when the other one
  // is freed. Registering twice is harmless; nil and self are ignored.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);
  // Frees the owned components, last first; each leaves the list before it goes.
  void DestroyComponents();
  void Destroying();

  // csLoading from Loading() until Loaded(); overrides of Loaded do their fix-ups
  // and call the base.
  void Loading();
  virtual void Loaded();

 protected:
  // The base drops the free-notification link of a component being removed and
  // passes the notice on to every owned component, so siblings that point at
  // each other clear their references without registering.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  void SetDesigning(bool Value, bool SetChildren = true);

 private:
  void ValidateRename(TComponent* AComponent, const String& NewName) const;
  void Remove(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  String FName;
  std::intptr_t FTag = 0;
  TComponentState FComponentState;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};
