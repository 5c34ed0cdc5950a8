#include "platform/UserStore.h"

namespace platform
{

UserStore::UserStore(QString path) : path_(std::move(path)) {}

UserStore::UserStore(Registry &open) : path_(open.databasePath()), open_(&open) {}

UserStore::~UserStore() = default;

Registry &UserStore::get()
{
    if (open_)
        return *open_;
    if (!unavailable_.isEmpty())
        throw ERegistryError(unavailable_.toStdString());
    owned_ = std::make_unique<Registry>(path_);
    open_ = owned_.get();
    return *open_;
}

void UserStore::close()
{
    if (!owned_)
        return;
    open_ = nullptr;
    owned_.reset();
}

} // namespace platform
