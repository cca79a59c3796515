#include "quorel/QuorelTemplate.h"

#include <algorithm>

QuorelTypes::Fixture* QuorelTemplate::AddFixture(const QuorelTypes::Fixture& fixture) {
    m_fixtures.push_back(std::make_unique<QuorelTypes::Fixture>(fixture));
    return m_fixtures.back().get();
}

bool QuorelTemplate::RemoveFixture(const QuorelTypes::Fixture* fixture) {
    const auto found = std::find_if(m_fixtures.begin(), m_fixtures.end(),
                                    [fixture](const auto& own) { return own.get() == fixture; });
    if (found == m_fixtures.end()) {
        return false;
    }
    m_fixtures.erase(found);
    return true;
}

void QuorelTemplate::CopyLayoutFrom(const QuorelTemplate& other) {
    zoom = other.zoom;
    sample = other.sample;
    fixtureType = other.fixtureType;
    m_fixtures.clear();
    for (const auto& fixture : other.m_fixtures) {
        AddFixture(*fixture);
    }
}

int QuorelTemplate::NextFreeNum() const {
    int num = 1;
    while (std::any_of(m_fixtures.begin(), m_fixtures.end(),
                       [num](const auto& fixture) { return fixture->num == num; })) {
        ++num;
    }
    return num;
}
