// The drives, the network's servers and a server's shares.
#include <utility>

#include "kem3/browser/kembrwork.h"
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
// Each node of the enumeration until the worker is cancelled. Any failure ends
// the enumeration, not only its regular end.
void ForEachNode(const TtBackProcess& worker, std::unique_ptr<TNetEnum> nodes,
                 const std::function<void(const TNetNode&)>& each) {
  if (!nodes) return;
  std::vector<TNetNode> block;
  while (!worker.Cancelled()) {
    block.clear();
    if (!nodes->Next(block)) return;
    for (const TNetNode& node : block) {
      if (worker.Cancelled()) return;
      each(node);
    }
  }
}
}  // namespace

// ---- TtDriveFinder

void TtDriveFinder::BeginWork() { Sink.BeginListing(); }

void TtDriveFinder::EndWork() {
  Sink.EndListing();
  TtBackProcess::EndWork();
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
    QueueOpenable(*special.Name, Utf8ToWide(IntToStr(number)) + u" " + *special.Name, special.Image,
                  {ByteText(total), ByteText(free), Texts.TypeFolder, WideString()}, total, free, false);
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
    const WideString name = WideString(1, letter) + u": " + volume;
    QueueOpenable(name, u"9 " + name, image, {ByteText(total), ByteText(free), typeText, fileSystem}, total, free,
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
  ForEachNode(*this, System.OpenNetwork(Parent), [&](const TNetNode& node) {
    switch (node.Kind) {
      case nkDomain: {
        const WideString name = node.Name;
        SyncBatched([this, name] { Sink.SeeWorkgroup(name, WideSameText(name, Workgroup)); });
        if (FChecked.find(u"," + WideUpperCase(name) + u",") != WideString::npos) Walk(&node, name, Depth + 1);
        break;
      }
      case nkServer: {
        const WideString name = LastComponent(node.Name);
        QueueOpenable(name, name, 7, {Group, node.Comment}, 0, 0, WideSameText(name, SelectName));
        break;
      }
      case nkShare:
        break;
      default:
        if (node.Container) Walk(&node, Group, Depth + 1);
    }
  });
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
  ForEachNode(*this, System.OpenShares(remote), [&](const TNetNode& node) {
    if (!node.Disk || Cancelled()) return;
    std::int64_t total = -1, free = -1;
    if (!System.DiskSizes(node.Name + u"\\", total, free)) total = free = -1;
    const WideString name = LastComponent(node.Name);
    if (FShares++ == 0)
      SyncBatched([this] {
        Sink.ShowShares(WideFormatOrError(Texts.NetworkOn, {Server}));
        Sink.BeginListing();
      });
    QueueOpenable(name, name, 0, {ByteText(total), ByteText(free)}, total, free, WideSameText(name, SelectName));
  });
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
  if (FCaption && !Sink.PostShareMessage(Server, *FCaption, *FBody)) ShowBrowserMessage(*FCaption, *FBody);
}
