// TDataFormatAdapter: attaches a data format to a drag-and-drop component by
// the data format's class name.
#pragma once
#include "kem3/dragdrop/dragdrop.h"

class TDataFormatAdapter : public TComponent {
 public:
  explicit TDataFormatAdapter(TComponent* AOwner) : TComponent(AOwner) {}
  // The data format stays with the component, which frees it.
  ~TDataFormatAdapter() override;

  TDragDropComponent* DragDropComponent() const { return FDragDropComponent; }
  void SetDragDropComponent(TDragDropComponent* Value);
  // A registered data format class, found without regard to case; raises
  // "The %s data format has not been registered by any of the used units".
  String DataFormatName() const { return FDataFormatClass ? FDataFormatClass->ClassName : ""; }
  void SetDataFormatName(const String& Value);
  bool Enabled() const;
  void SetEnabled(bool Value);
  TCustomDataFormat* DataFormat() const { return FDataFormat; }

  void Loaded() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TDragDropComponent* FDragDropComponent = nullptr;
  const TDataFormatClass* FDataFormatClass = nullptr;
  TCustomDataFormat* FDataFormat = nullptr;
  bool FEnabled = false;  // the stored flag, while loading
};
