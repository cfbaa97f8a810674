#pragma once

#include <functional>
#include <optional>
#include <string>

#include "publish/BrokerAddress.h"

struct mosquitto;

namespace kvelt::publish {

// One connection to an MQTT broker through libmosquitto, without a thread of its own: the
// caller watches Socket() and calls Read() when it is readable, Write() when it is writable and
// WantWrite() says so, and Misc() about once a second (keep-alive). A lost connection is not
// renewed here: the caller makes a new client. Not copyable; one thread.
class MqttClient {
 public:
  struct Settings {
    BrokerAddress Broker;
    std::string ClientId;
    std::string Username;  // empty: none
    std::string Password;
    std::string CaFile;     // mqtts: the certificate authority file; empty: the system's authorities
    std::string WillTopic;  // empty: no last will
    std::string WillPayload;
    int KeepAliveSeconds = 30;
  };

  explicit MqttClient(const Settings& settings);
  ~MqttClient();
  MqttClient(const MqttClient&) = delete;
  MqttClient& operator=(const MqttClient&) = delete;

  // Opens the connection and sends the CONNECT packet; the broker's answer comes to OnConnected.
  // False with `why` set when it could not be opened.
  bool Connect(std::string& why);
  int Socket() const;
  bool WantWrite() const;
  // Each false when the connection is lost (`why` set).
  bool Read(std::string& why);
  bool Write(std::string& why);
  bool Misc(std::string& why);

  // Hands a message to the client; its id, or nullopt when it cannot take it (not connected).
  std::optional<int> Publish(const std::string& topic, const std::string& payload, int qos, bool retain);
  // Sends DISCONNECT: the broker then drops the last will.
  void Disconnect();

  // The broker's CONNACK: 0 accepted, else its refusal code (OnConnected's `why` says it).
  std::function<void(int code, const std::string& why)> OnConnected;
  // A message of QoS 1 was acknowledged (PUBACK), one of QoS 0 sent.
  std::function<void(int id)> OnPublished;

 private:
  static void ConnectTrampoline(struct mosquitto*, void* self, int code);
  static void PublishTrampoline(struct mosquitto*, void* self, int id);

  struct mosquitto* handle_ = nullptr;
  Settings settings_;
};

// libmosquitto's text for one of its error numbers.
std::string MqttErrorText(int error);

}  // namespace kvelt::publish
