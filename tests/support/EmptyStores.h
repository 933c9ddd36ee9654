#pragma once

// Every cookie store of the prefix empty from construction, and again at destruction: the URL
// cache's cookies, the Flash folder, the Allowed key and the browsers' databases.
class CEmptyStores {
public:
    CEmptyStores();
    CEmptyStores(const CEmptyStores&) = delete;
    CEmptyStores& operator=(const CEmptyStores&) = delete;
    ~CEmptyStores();
};
