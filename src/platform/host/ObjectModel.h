// The mail host's object model as the add-in sees it: application, namespace, folders, items,
// explorers, inspectors and command bars. The in-memory host implements it; a real host adapter
// could.
#pragma once

#include "platform/host/Events.h"

#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velmora::host {

// Dates are the host's local wall-clock time, counted in seconds.
using DateTime = std::chrono::sys_seconds;

// A late-bound property value, as the host hands it out.
using Variant = std::variant<std::monostate, bool, long, double, std::string, DateTime>;

std::string variantText(const Variant& v);
// The same for a value about to be dropped: a text is moved out, not copied.
std::string variantText(Variant&& v);
long variantNumber(const Variant& v);
bool variantFlag(const Variant& v);
DateTime variantDate(const Variant& v);

// A failed host call; what() is the description the caller's error trap shows.
class HostError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Item types for Items.Add / CreateItem / DefaultItemType.
enum OlItemType {
    olMailItem = 0,
    olAppointmentItem = 1,
    olContactItem = 2,
    olTaskItem = 3,
    olJournalItem = 4,
    olNoteItem = 5,
    olPostItem = 6
};

// Item class codes answered by Item::Class.
enum OlObjectClass {
    olAppointment = 26,
    olContact = 40,
    olJournal = 42,
    olMail = 43,
    olNote = 44,
    olPost = 45,
    olTask = 48
};

enum OlDefaultFolders {
    olFolderDeletedItems = 3,
    olFolderOutbox = 4,
    olFolderSentMail = 5,
    olFolderInbox = 6,
    olFolderCalendar = 9,
    olFolderContacts = 10,
    olFolderJournal = 11,
    olFolderNotes = 12,
    olFolderTasks = 13,
    olFolderDrafts = 16
};

enum OlRecipientType { olOriginator = 0, olTo = 1, olCC = 2, olBCC = 3 };
enum OlImportance { olImportanceLow = 0, olImportanceNormal = 1, olImportanceHigh = 2 };
enum OlRecurrenceType {
    olRecursDaily = 0,
    olRecursWeekly = 1,
    olRecursMonthly = 2,
    olRecursMonthNth = 3,
    olRecursYearly = 5,
    olRecursYearNth = 6
};

class Folder;
class Item;
class Explorer;
class CommandBars;

// What every collection of the host answers: how many, and one by its 1-based position; a
// position out of range raises HostError.
template <typename Element> class Collection {
  public:
    virtual ~Collection() = default;
    virtual int Count() const = 0;
    virtual Element Item(int index) const = 0;
};

struct Recipient {
    std::string Name;
    std::string Address;
    int Type = olTo;
};

class Recipients : public Collection<Recipient> {
  public:
    virtual void Add(const Recipient& recipient) = 0;
    virtual void Remove(int index) = 0;
};

class Attachment {
  public:
    virtual ~Attachment() = default;
    virtual std::string DisplayName() const = 0;
    virtual std::string FileName() const = 0;
    virtual int Index() const = 0;
    virtual void SaveAsFile(const std::string& path) const = 0;
};

class Attachments : public Collection<std::shared_ptr<Attachment>> {
  public:
    // Adds an attachment holding the given bytes under a display name.
    virtual void Add(const std::string& displayName, const std::string& content) = 0;
};

// The contacts an item is linked to.
// Item is null for a contact that is gone.
class Links : public Collection<std::shared_ptr<host::Item>> {
  public:
    virtual void Add(const std::shared_ptr<host::Item>& contact) = 0;
    virtual void Remove(int index) = 0;
};

struct RecurrencePattern {
    int RecurrenceType = olRecursDaily;
    int Interval = 1;
    int DayOfWeekMask = 0; // Sunday 1, Monday 2, ... Saturday 64
    int DayOfMonth = 0;
    int Instance = 0;
    int MonthOfYear = 0;
    bool NoEndDate = true;
    int Occurrences = 0;
    DateTime PatternStartDate{};
    DateTime PatternEndDate{};
};

// Every kind of item. Properties are reached by name, as a late-bound caller reaches them; the
// typed helpers below are shorthands for the members the add-in reads most.
class Item : public std::enable_shared_from_this<Item> {
  public:
    virtual ~Item() = default;
    virtual int Class() const = 0;
    virtual std::string EntryID() const = 0;
    virtual Variant Get(std::string_view property) const = 0;
    virtual void Set(std::string_view property, const Variant& value) = 0;
    virtual void Save() = 0;
    virtual void Delete() = 0;
    virtual std::shared_ptr<Folder> Parent() const = 0;
    virtual void Display() = 0;

    // Collections; asking a kind that has none raises HostError.
    virtual host::Recipients& Recipients() = 0;
    virtual host::Attachments& Attachments() = 0;
    virtual host::Links& Links() = 0;
    virtual RecurrencePattern GetRecurrencePattern() const = 0;
    virtual void SetRecurrencePattern(const RecurrencePattern& pattern) = 0;
    // Makes a recurring appointment or task a single one again.
    virtual void ClearRecurrencePattern() = 0;

    // Mail only: hands the mail to the Outbox and raises Send.
    virtual void Send() = 0;
    // Raised before a mail is sent; set the flag to cancel.
    virtual EventSource<bool&>& SendEvent() = 0;

    std::string Text(std::string_view property) const { return variantText(Get(property)); }
    long Number(std::string_view property) const { return variantNumber(Get(property)); }
    bool Flag(std::string_view property) const { return variantFlag(Get(property)); }
    DateTime Date(std::string_view property) const { return variantDate(Get(property)); }
    std::string Subject() const { return Text("Subject"); }
};

using ItemPtr = std::shared_ptr<Item>;

class Items : public Collection<ItemPtr> {
  public:
    // Filters are the host's filter texts; one that cannot be parsed raises HostError.
    virtual ItemPtr Find(const std::string& filter) = 0;
    virtual ItemPtr FindNext() = 0;
    virtual std::shared_ptr<Items> Restrict(const std::string& filter) const = 0;
    virtual ItemPtr Add(int itemType) = 0;
    virtual EventSource<ItemPtr>& ItemAdd() = 0;
    virtual EventSource<ItemPtr>& ItemChange() = 0;
};

class Folder : public std::enable_shared_from_this<Folder> {
  public:
    virtual ~Folder() = default;
    virtual std::shared_ptr<host::Items> Items() = 0;
    virtual std::shared_ptr<Folder> Parent() const = 0; // null for a store's root
    virtual std::string Name() const = 0;
    virtual int DefaultItemType() const = 0;
    virtual std::string StoreID() const = 0;
    virtual std::string EntryID() const = 0;
    virtual std::vector<std::shared_ptr<Folder>> Folders() const = 0;
    virtual std::shared_ptr<Folder> AddFolder(const std::string& name, int itemType) = 0;
    virtual std::shared_ptr<Explorer> GetExplorer() = 0;
};

using FolderPtr = std::shared_ptr<Folder>;

class NameSpace {
  public:
    virtual ~NameSpace() = default;
    virtual FolderPtr GetDefaultFolder(int folderType) = 0;
    // Null when the entry ID names no item (any more).
    virtual ItemPtr GetItemFromID(const std::string& entryId, const std::string& storeId = "") = 0;
    virtual std::vector<FolderPtr> Folders() const = 0; // the stores' roots
};

class Selection : public Collection<ItemPtr> {};

class CommandBarControls;

enum MsoControlType { msoControlButton = 1, msoControlPopup = 10 };
enum MsoButtonStyle { msoButtonIcon = 1, msoButtonCaption = 2, msoButtonIconAndCaption = 3 };
enum MsoButtonState { msoButtonUp = 0, msoButtonDown = -1 };

class CommandBarControl {
  public:
    virtual ~CommandBarControl() = default;
    virtual int Id() const = 0;
    virtual int Type() const = 0;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual std::string Tag() const = 0;
    virtual void SetTag(const std::string& tag) = 0;
    virtual int Style() const = 0;
    virtual void SetStyle(int style) = 0;
    virtual bool BeginGroup() const = 0;
    virtual void SetBeginGroup(bool begin) = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual std::string TooltipText() const = 0;
    virtual void SetTooltipText(const std::string& text) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual int State() const = 0;
    virtual void SetState(int state) = 0;
    virtual int Index() const = 0; // 1-based position on its bar
    // A face image (file path of the picture); empty when none was pasted.
    virtual std::string Face() const = 0;
    virtual void PasteFace(const std::string& imagePath) = 0;
    virtual void Move(int before) = 0;
    virtual void Delete() = 0;
    virtual void Execute() = 0;
    // The controls of a popup; raises HostError for a button.
    virtual CommandBarControls& Controls() = 0;
    // Raised for a click on this control or on any control carrying the same tag.
    virtual EventSource<CommandBarControl&, bool&>& Click() = 0;
};

using ControlPtr = std::shared_ptr<CommandBarControl>;

class CommandBarControls : public Collection<ControlPtr> {
  public:
    // before: 1-based position, 0 appends at the end.
    virtual ControlPtr Add(int type, int id = 0, int before = 0, bool temporary = false) = 0;
};

class CommandBar {
  public:
    virtual ~CommandBar() = default;
    virtual std::string Name() const = 0;
    virtual CommandBarControls& Controls() = 0;
    // Searches this bar and its popups; 0 or "" leaves a criterion out. Null when none matches.
    virtual ControlPtr FindControl(int type = 0, int id = 0, const std::string& tag = "",
                                   bool visibleOnly = false) = 0;
};

class CommandBars {
  public:
    virtual ~CommandBars() = default;
    // Bar names are matched without regard to case; raises HostError when none has the name.
    virtual CommandBar& Item(const std::string& name) = 0;
    virtual ControlPtr FindControl(int type = 0, int id = 0, const std::string& tag = "") = 0;
};

class Explorer {
  public:
    virtual ~Explorer() = default;
    virtual FolderPtr CurrentFolder() const = 0;
    virtual void SetCurrentFolder(const FolderPtr& folder) = 0; // raises FolderSwitch
    virtual const host::Selection& Selection() const = 0;
    virtual void Select(const std::vector<ItemPtr>& items) = 0; // raises SelectionChange
    virtual host::CommandBars& CommandBars() = 0;
    virtual void Close() = 0; // raises CloseEvent
    virtual EventSource<>& CloseEvent() = 0;
    virtual EventSource<>& FolderSwitch() = 0;
    virtual EventSource<>& SelectionChange() = 0;
};

using ExplorerPtr = std::shared_ptr<Explorer>;

class Inspector {
  public:
    virtual ~Inspector() = default;
    virtual ItemPtr CurrentItem() const = 0;
    virtual host::CommandBars& CommandBars() = 0;
    virtual void Close() = 0;
};

using InspectorPtr = std::shared_ptr<Inspector>;

class Explorers : public Collection<ExplorerPtr> {};

class Inspectors : public Collection<InspectorPtr> {
  public:
    virtual EventSource<InspectorPtr>& NewInspector() = 0;
};

class Application {
  public:
    virtual ~Application() = default;
    virtual ExplorerPtr ActiveExplorer() = 0; // null when the host shows no explorer
    virtual host::Explorers& Explorers() = 0;
    virtual host::Inspectors& Inspectors() = 0;
    virtual NameSpace& GetNamespace(const std::string& type) = 0;
    virtual ItemPtr CreateItem(int itemType) = 0;
    // Opens a compose or item window for the item and raises NewInspector.
    virtual InspectorPtr OpenInspector(const ItemPtr& item) = 0;
    virtual void Quit() = 0;
    virtual bool QuitRequested() const = 0;
};

} // namespace velmora::host
