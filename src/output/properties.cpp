#include "output/properties.h"

#include "platform/com_call.h"
#include "serialization/nerova_ncom_node.h"

namespace Nerova::Utils::Ncom::Utils {

using Serialization::NodePtr;

namespace {

using Lookup = HRESULT (HostPropertyCollection::*)(BSTR, HostXmlDocument**);

NodePtr propertyRoot(HostPropertyCollection* collection, Lookup lookup, const std::string& name) {
    HostPropertyCollection* host = vexa::required(collection);
    vexa::Bstr hostName(name);
    vexa::ComPtr<HostXmlDocument> document;
    vexa::checkCall((host->*lookup)(hostName.get(), document.put()), host);
    if (!document) return nullptr;
    return rootNode(std::move(document));
}

}  // namespace

NodePtr PropertiesImpl::getProperty(const std::string& name) const {
    return propertyRoot(collection_.get(), &HostPropertyCollection::FindProperty, name);
}

NodePtr PropertiesImpl::getPropertyInto(const std::string& name, const NodePtr& node) const {
    NodePtr root = getProperty(name);
    if (root && node) root->appendChild(*node);
    return root;
}

NodePtr PropertiesImpl::addProperty(const std::string& name) {
    return propertyRoot(collection_.get(), &HostPropertyCollection::AddProperty, name);
}

}  // namespace Nerova::Utils::Ncom::Utils
