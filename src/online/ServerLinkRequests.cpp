#include "online/ServerLinkRequests.h"

#include <algorithm>

#include "online/NetworkManager.h"

namespace {

ServerLinkRequests* g_requests = nullptr;

}  // namespace

NetworkQueueProcessor::NetworkQueueProcessor(size_t maxInFlight, size_t maxScreenshotsInFlight)
    : m_maxInFlight(maxInFlight), m_maxScreenshots(maxScreenshotsInFlight),
      m_self(std::make_shared<NetworkQueueProcessor*>(this))
{
}

NetworkManager& NetworkQueueProcessor::manager()
{
    return m_manager ? *m_manager : NetworkManager::getInstance();
}

void NetworkQueueProcessor::add(const std::shared_ptr<RequestAction>& action, bool screenshot)
{
    if (!action)
        return;
    std::weak_ptr<NetworkQueueProcessor*> self = m_self;
    action->setFinishedHook([self](const RequestAction* done) {
        if (auto alive = self.lock())
            (*alive)->finished(done);
    });
    m_waiting.push_back({action, screenshot});
    startWhatFits();
}

void NetworkQueueProcessor::startWhatFits()
{
    auto screenshotsInFlight = [this] {
        return static_cast<size_t>(
            std::count_if(m_inFlight.begin(), m_inFlight.end(), [](const Entry& e) { return e.screenshot; }));
    };
    // In order, except that a screenshot waiting for its turn lets the
    // requests behind it pass.
    for (auto it = m_waiting.begin(); it != m_waiting.end() && m_inFlight.size() < m_maxInFlight;) {
        if (it->screenshot && screenshotsInFlight() >= m_maxScreenshots) {
            ++it;
            continue;
        }
        Entry entry = *it;
        it = m_waiting.erase(it);
        m_inFlight.push_back(entry);
        // A send that fails still finishes: its error handler runs on the
        // next drain, and the hook lets the next one go.
        manager().send(entry.action);
    }
}

void NetworkQueueProcessor::finished(const RequestAction* action)
{
    auto found = std::find_if(m_inFlight.begin(), m_inFlight.end(),
                              [action](const Entry& e) { return e.action.get() == action; });
    if (found == m_inFlight.end())
        return;
    m_inFlight.erase(found);
    startWhatFits();
}

void NetworkQueueProcessor::cancelAll()
{
    for (Entry& entry : m_inFlight)
        manager().cancel(entry.action);
    for (Entry& entry : m_waiting)
        entry.action->markCancelled();
    m_inFlight.clear();
    m_waiting.clear();
}

ServerLinkRequests* ServerLinkRequests::getInstance()
{
    if (!g_requests)
        g_requests = new ServerLinkRequests();
    return g_requests;
}

void ServerLinkRequests::resetInstanceForTests()
{
    if (g_requests)
        g_requests->m_queue.cancelAll();
    delete g_requests;
    g_requests = new ServerLinkRequests();
}
