// The data format adapter.
#include "kem3/dragdrop/dataformatadapter.h"

#include "platform/format.h"

TDataFormatAdapter::~TDataFormatAdapter() = default;

void TDataFormatAdapter::SetDataFormatName(const String& Value) {
  const TDataFormatClass* chosen = nullptr;
  if (!Value.empty()) {
    chosen = DataFormatClasses().Find(Value);
    if (!chosen) {
      throw Exception(Format("The %s data format has not been registered by any of the used units", {Value}));
    }
  }
  if (chosen == FDataFormatClass) return;
  if (!ComponentState().Contains(csLoading)) SetEnabled(false);
  FDataFormatClass = chosen;
}

void TDataFormatAdapter::SetDragDropComponent(TDragDropComponent* Value) {
  if (Value == FDragDropComponent) return;
  if (!ComponentState().Contains(csLoading)) SetEnabled(false);
  if (FDragDropComponent) FDragDropComponent->RemoveFreeNotification(this);
  FDragDropComponent = Value;
  if (Value) Value->FreeNotification(this);
}

bool TDataFormatAdapter::Enabled() const { return FDataFormat && FDataFormatClass; }

void TDataFormatAdapter::SetEnabled(bool Value) {
  if (ComponentState().Contains(csLoading)) {
    FEnabled = Value;
    return;
  }
  if (Value) {
    if (!FDataFormat && FDataFormatClass && FDataFormatClass->Create && FDragDropComponent) {
      FDataFormat = FDataFormatClass->Create(FDragDropComponent);
    }
  } else {
    if (FDataFormat && FDragDropComponent && FDragDropComponent->OwnsDataFormat(FDataFormat)) FDataFormat->Free();
    FDataFormat = nullptr;
  }
}

void TDataFormatAdapter::Loaded() {
  TComponent::Loaded();
  if (FEnabled) SetEnabled(true);
}

void TDataFormatAdapter::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDragDropComponent) {
    // The component frees its data formats itself.
    FDragDropComponent = nullptr;
    FDataFormat = nullptr;
  }
}
