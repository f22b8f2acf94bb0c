// The drives, the network's servers and a server's shares.
#include <utility>

#include "kem3/framework/kembrwork.h"
#include "kem3/framework/kemutil.h"
#include "platform/format.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {
WideString ByteText(std::int64_t count) { return Utf8ToWide(FormatByteSize(count)); }

// "\\SERVER\SHARE" -> share and server.
void SplitRemote(const WideString& remote, WideString& server, WideString& share) {
  WideString rest = remote;
  while (!rest.empty() && rest.front() == u'\\') rest.erase(0, 1);
  const size_t cut = rest.find(u'\\');
  server = rest.substr(0, cut);
  share = cut == WideString::npos ? WideString() : rest.substr(cut + 1);
}

WideString LastComponent(const WideString& remote) {
  WideString name = remote;
  while (!name.empty() && name.back() == u'\\') name.pop_back();
  const size_t cut = name.rfind(u'\\');
  return cut == WideString::npos ? name : name.substr(cut + 1);
}
}  // namespace

// ---- TtDriveFinder

void TtDriveFinder::BeginWork() { Sink.BeginListing(); }

void TtDriveFinder::EndWork() {
  Sink.EndListing();
  TtBackProcess::EndWork();
}

void TtDriveFinder::AddEntry(const WideString& Name, const WideString& Sort, int Image, const TUcStringList& Columns,
                             std::int64_t Total, std::int64_t Free, bool Selected) {
  SyncIfActive([&] {
    auto data = std::make_unique<TListItemData>();
    data->Kind = bikOpenable;
    data->TotalBytes = Total;
    data->FreeBytes = Free;
    data->SortText = Sort + Name;
    data->Columns.Assign(Columns);
    Sink.QueueEntry(-1, Name, Selected, std::move(data), Image);
  });
}

void TtDriveFinder::DoWork() {
  struct {
    TBrowseSpecialFolder Which;
    int Image;
    const WideString* Name;
  } const specials[] = {{bsfDesktop, 8, &Texts.Desktop}, {bsfPersonal, 0, &Texts.MyDocuments}};
  int number = 0;
  for (const auto& special : specials) {
    ++number;
    WideString path;
    if (Cancelled()) return;
    if (!System.SpecialFolder(special.Which, path)) continue;
    std::int64_t total = -1, free = -1;
    if (Cancelled()) return;
    if (!System.DiskSizes(path, total, free)) total = free = -1;
    TUcStringList columns;
    for (const WideString& c : {ByteText(total), ByteText(free), Texts.TypeFolder, WideString()}) columns.Add(c);
    AddEntry(*special.Name, Utf8ToWide(IntToStr(number)) + u" ", special.Image, columns, total, free, false);
  }
  if (Cancelled()) return;
  const std::uint32_t mask = System.LogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    if (Cancelled()) return;
    const WideChar letter = static_cast<WideChar>(u'A' + i);
    const WideString root = WideString(1, letter) + u":\\";
    int type = System.DriveType(root);
    if (type == 2 && i >= 2) type = 7;
    const bool known = type >= 2 && type <= 7;
    const WideString typeText = known ? Texts.DriveTypes[type - 2] : WideString();
    const int image = known ? type - 1 : -1;
    WideString fileSystem;
    std::int64_t total = -1, free = -1;
    if (type != 2) {
      bool compressed = false;
      if (Cancelled()) return;
      if (System.VolumeInfo(root, fileSystem, compressed) && compressed) fileSystem += u" (" + Texts.Compressed + u")";
      if (Cancelled()) return;
      if (!System.DiskSizes(root, total, free)) total = free = -1;
    }
    WideString volume;
    WideString remote, server, share;
    if (Cancelled()) return;
    if (type == 4 && System.RemoteName(WideString(1, letter) + u":", remote)) {
      SplitRemote(remote, server, share);
      volume = WideFormatOrError(Texts.On, {share, server});
    } else {
      volume = DriveVolumeLabel(letter, System);
    }
    TUcStringList columns;
    for (const WideString& c : {ByteText(total), ByteText(free), typeText, fileSystem}) columns.Add(c);
    AddEntry(WideString(1, letter) + u": " + volume, u"9 ", image, columns, total, free,
             WideSameText(root, SelectPath));
  }
}

// ---- TtServerFinder

void TtServerFinder::BeginWork() {
  Sink.BeginListing();
  Sink.MarkWorkgroupsUnseen();
}

void TtServerFinder::EndWork() {
  Sink.EndListing();
  Sink.DropUnseenWorkgroups();
  TtBackProcess::EndWork();
}

void TtServerFinder::DoWork() {
  FChecked = u"," + WideUpperCase(CheckedWorkgroups) + u",";
  Walk(nullptr, WideString(), 0);
}

void TtServerFinder::Walk(const TNetNode* Parent, const WideString& Group, int Depth) {
  if (Depth >= kMaxDepth || Cancelled()) return;
  std::unique_ptr<TNetEnum> children = System.OpenNetwork(Parent);
  if (!children) return;
  std::vector<TNetNode> block;
  for (;;) {
    if (Cancelled()) return;
    block.clear();
    if (!children->Next(block)) return;
    for (const TNetNode& node : block) {
      if (Cancelled()) return;
      switch (node.Kind) {
        case nkDomain: {
          const WideString name = node.Name;
          SyncIfActive([&] { Sink.SeeWorkgroup(name, WideSameText(name, Workgroup)); });
          if (FChecked.find(u"," + WideUpperCase(name) + u",") != WideString::npos) Walk(&node, name, Depth + 1);
          break;
        }
        case nkServer: {
          const WideString name = LastComponent(node.Name);
          SyncIfActive([&] {
            auto data = std::make_unique<TListItemData>();
            data->Kind = bikOpenable;
            data->SortText = name;
            data->Columns.Add(Group);
            data->Columns.Add(node.Comment);
            Sink.QueueEntry(-1, name, WideSameText(name, SelectName), std::move(data), 7);
          });
          break;
        }
        case nkShare:
          break;
        default:
          if (node.Container) Walk(&node, Group, Depth + 1);
      }
    }
  }
}

// ---- TtShareFinder

void TtShareFinder::DoWork() {
  const WideString remote = u"\\\\" + Server;
  if (Cancelled()) return;
  const std::uint32_t error = System.Connect(remote);
  if (error) {
    FFailed = error != kNetConnectCancelled;
    return;
  }
  FConnected = true;
  if (Cancelled()) return;
  std::unique_ptr<TNetEnum> shares = System.OpenShares(remote);
  if (!shares) return;
  std::vector<TNetNode> block;
  for (;;) {
    if (Cancelled()) return;
    block.clear();
    // Any failure ends the listing, not only its regular end.
    if (!shares->Next(block)) return;
    for (const TNetNode& node : block) {
      if (!node.Disk) continue;
      std::int64_t total = -1, free = -1;
      if (Cancelled()) return;
      if (!System.DiskSizes(node.Name + u"\\", total, free)) total = free = -1;
      const WideString name = LastComponent(node.Name);
      SyncIfActive([&] {
        if (FShares++ == 0) {
          Sink.ShowShares(WideFormatOrError(Texts.NetworkOn, {Server}));
          Sink.BeginListing();
        }
        auto data = std::make_unique<TListItemData>();
        data->Kind = bikOpenable;
        data->TotalBytes = total;
        data->FreeBytes = free;
        data->SortText = name;
        data->Columns.Add(ByteText(total));
        data->Columns.Add(ByteText(free));
        Sink.QueueEntry(-1, name, WideSameText(name, SelectName), std::move(data), 0);
      });
    }
  }
}

void TtShareFinder::EndWork() {
  Sink.EndListing();
  if (FShares == 0 && FConnected) {
    FCaption = &Texts.NoSharesCaption;
    FBody = &Texts.NoSharesBody;
  } else if (FShares == 0 && FFailed && Sink.ShowsServer(Server)) {
    FCaption = &Texts.ConFailCaption;
    FBody = &Texts.ConFailBody;
  }
  TtBackProcess::EndWork();
}

void TtShareFinder::Ended() {
  // Outside Lock: the box runs a message loop of its own.
  if (FCaption) ShowBrowserMessage(*FCaption, *FBody);
}
