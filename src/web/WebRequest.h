#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "web/WebSession.h"

namespace tavrin {

using Json = nlohmann::ordered_json;

// A request of the page, with the values its keys hold when they are of
// the kind asked for.
struct WebSession::Request {
    const Json& json;

    bool Has(const char* key) const { return json.contains(key); }
    std::string Text(const char* key) const
    {
        const auto found = json.find(key);
        return found != json.end() && found->is_string() ? found->get<std::string>() : std::string();
    }
    int Number(const char* key, int otherwise = -1) const
    {
        const auto found = json.find(key);
        return found != json.end() && found->is_number_integer() ? found->get<int>() : otherwise;
    }
    double Real(const char* key, double otherwise) const
    {
        const auto found = json.find(key);
        return found != json.end() && found->is_number() ? found->get<double>() : otherwise;
    }
    bool Flag(const char* key) const
    {
        const auto found = json.find(key);
        return found != json.end() && found->is_boolean() && found->get<bool>();
    }
};

// The answer besides the state and the messages.
struct WebSession::Answer {
    Json json = Json::object();
};

}  // namespace tavrin
