// The slot the window program puts its profile service in.
#include "app/profileservice.h"

namespace velmora::app {

namespace {
ProfileService* installed = nullptr;
}  // namespace

void setProfileService(ProfileService* service) { installed = service; }
ProfileService* profileService() { return installed; }

}  // namespace velmora::app
