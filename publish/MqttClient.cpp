#include "publish/MqttClient.h"

#include <mosquitto.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace kvelt::publish {
namespace {

// libmosquitto is set up once per process and left set up.
void InitLibraryOnce() {
  static const int initialised = mosquitto_lib_init();
  (void)initialised;
}

}  // namespace

std::string MqttErrorText(int error) {
  if (error == MOSQ_ERR_ERRNO) return std::strerror(errno);
  return mosquitto_strerror(error);
}

MqttClient::MqttClient(const Settings& settings) : settings_(settings) {
  InitLibraryOnce();
  handle_ = mosquitto_new(settings_.ClientId.empty() ? nullptr : settings_.ClientId.c_str(), true, this);
  if (handle_ == nullptr)
    throw std::runtime_error("cannot make an MQTT client: " + MqttErrorText(MOSQ_ERR_ERRNO));
  mosquitto_connect_callback_set(handle_, &MqttClient::ConnectTrampoline);
  mosquitto_publish_callback_set(handle_, &MqttClient::PublishTrampoline);
}

MqttClient::~MqttClient() { mosquitto_destroy(handle_); }

void MqttClient::ConnectTrampoline(struct mosquitto*, void* self, int code) {
  auto* client = static_cast<MqttClient*>(self);
  if (client->OnConnected) client->OnConnected(code, mosquitto_connack_string(code));
}

void MqttClient::PublishTrampoline(struct mosquitto*, void* self, int id) {
  auto* client = static_cast<MqttClient*>(self);
  if (client->OnPublished) client->OnPublished(id);
}

bool MqttClient::Connect(std::string& why) {
  int rc = MOSQ_ERR_SUCCESS;
  if (!settings_.Username.empty()) {
    rc = mosquitto_username_pw_set(handle_, settings_.Username.c_str(),
                                   settings_.Password.empty() ? nullptr : settings_.Password.c_str());
  }
  if (rc == MOSQ_ERR_SUCCESS && settings_.Broker.Tls) {
    if (settings_.CaFile.empty()) {
      rc = mosquitto_int_option(handle_, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
    } else {
      rc = mosquitto_tls_set(handle_, settings_.CaFile.c_str(), nullptr, nullptr, nullptr, nullptr);
    }
  }
  if (rc == MOSQ_ERR_SUCCESS && !settings_.WillTopic.empty()) {
    rc = mosquitto_will_set(handle_, settings_.WillTopic.c_str(),
                            static_cast<int>(settings_.WillPayload.size()), settings_.WillPayload.data(), 1,
                            true);
  }
  if (rc == MOSQ_ERR_SUCCESS) {
    rc = mosquitto_connect(handle_, settings_.Broker.Host.c_str(), settings_.Broker.Port,
                           settings_.KeepAliveSeconds);
  }
  if (rc != MOSQ_ERR_SUCCESS) why = MqttErrorText(rc);
  return rc == MOSQ_ERR_SUCCESS;
}

int MqttClient::Socket() const { return mosquitto_socket(handle_); }

bool MqttClient::WantWrite() const { return mosquitto_want_write(handle_); }

bool MqttClient::Read(std::string& why) {
  const int rc = mosquitto_loop_read(handle_, 1);
  if (rc != MOSQ_ERR_SUCCESS) why = MqttErrorText(rc);
  return rc == MOSQ_ERR_SUCCESS;
}

bool MqttClient::Write(std::string& why) {
  const int rc = mosquitto_loop_write(handle_, 1);
  if (rc != MOSQ_ERR_SUCCESS) why = MqttErrorText(rc);
  return rc == MOSQ_ERR_SUCCESS;
}

bool MqttClient::Misc(std::string& why) {
  const int rc = mosquitto_loop_misc(handle_);
  if (rc != MOSQ_ERR_SUCCESS) why = MqttErrorText(rc);
  return rc == MOSQ_ERR_SUCCESS;
}

std::optional<int> MqttClient::Publish(const std::string& topic, const std::string& payload, int qos,
                                       bool retain) {
  int id = 0;
  const int rc = mosquitto_publish(handle_, &id, topic.c_str(), static_cast<int>(payload.size()),
                                   payload.data(), qos, retain);
  if (rc != MOSQ_ERR_SUCCESS) return std::nullopt;
  return id;
}

void MqttClient::Disconnect() { mosquitto_disconnect(handle_); }

}  // namespace kvelt::publish
