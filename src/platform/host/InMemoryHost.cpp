// The in-memory mail host.
#include "platform/host/InMemoryHost.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryApplication.h"
#include "platform/host/InMemoryExplorer.h"
#include "platform/host/InMemoryFolder.h"
#include "platform/host/InMemoryItem.h"
#include "platform/host/InMemoryItems.h"
#include "platform/host/PropertyCatalog.h"
#include "platform/text/Bilingual.h"

namespace velmora::host {

namespace {

// The default store's name in an English and in a Chinese installation.
constexpr text::Bilingual defaultStoreName{.english = "Personal Folders", .chinese = "个人文件夹"};

} // namespace

InMemoryHost::InMemoryHost(bool chinese, bool withExplorer)
    : core_(std::make_shared<HostCore>(chinese)) {
    core_->addStore(defaultStoreName.in(chinese));
    app_ = std::make_unique<InMemoryApplication>(core_);
    if (withExplorer) addExplorer();
}

InMemoryHost::~InMemoryHost() = default;

Application& InMemoryHost::application() {
    return *app_;
}

FolderPtr InMemoryHost::folder(int folderType) {
    return core_->defaultFolder(folderType);
}

FolderPtr InMemoryHost::addStore(const std::string& name) {
    return core_->addStore(name);
}

timekeeping::Clock& InMemoryHost::clock() {
    return core_->clock();
}

void InMemoryHost::setClock(timekeeping::Clock& clock) {
    core_->setClock(clock);
}

void InMemoryHost::failMember(const std::string& member, const std::string& description,
                              int times) {
    core_->faults().fail(member, description, times);
}

void InMemoryHost::clearFaults() {
    core_->faults().clear();
}

void InMemoryHost::useLanguage(bool chinese) {
    core_->useLanguage(chinese);
}

Faults& InMemoryHost::faults() {
    return core_->faults();
}

int InMemoryHost::faultHits(const std::string& member) const {
    return core_->faults().hits(member);
}

void InMemoryHost::watch(std::function<void(const std::string&, const std::string&)> filters,
                         std::function<void(const ItemPtr&)> displayed) {
    core_->watchFilter = std::move(filters);
    core_->watchDisplay = std::move(displayed);
}

ExplorerPtr InMemoryHost::addExplorer() {
    return app_->addExplorer(core_->defaultFolder(olFolderInbox));
}

void InMemoryHost::closeAllExplorers() {
    app_->closeAllExplorers();
}

void InMemoryHost::deliverOutbox() {
    core_->deliverOutbox();
}

void InMemoryHost::holdDelivery(bool held) {
    core_->setDeliveryHeld(held);
}

void InMemoryHost::removeBuiltIn(int id) {
    core_->removeBuiltIn(id);
}

void InMemoryHost::setUser(const std::string& name, const std::string& address) {
    core_->setUser(name, address);
}

ItemPtr InMemoryHost::receiveMail(const std::string& subject, const std::string& senderName,
                                  const std::string& senderAddress, const FolderPtr& folder) {
    auto target = folder ? std::dynamic_pointer_cast<InMemoryFolder>(folder)
                         : core_->defaultFolder(olFolderInbox);
    if (!target) throw HostError("receiveMail needs a folder of this host");
    auto mail = InMemoryItem::create(core_, olMailItem, target);
    const DateTime now = core_->now();
    mail->put(pSubject, subject);
    mail->put(pSenderName, senderName);
    mail->put(pSenderEmailAddress, senderAddress);
    mail->put(pSent, true);
    mail->put(pSentOn, now);
    mail->put(pReceivedTime, now);
    mail->put(pUnRead, true);
    mail->Recipients().Add(Recipient{core_->userName(), core_->userAddress(), olTo});
    mail->Save();
    return mail;
}

} // namespace velmora::host
