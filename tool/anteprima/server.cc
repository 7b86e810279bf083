#include "tool/anteprima/server.h"

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

class Server final : public ServerAnteprima {
 public:
  bool avvia(int porta, std::string *errore) {
    svr_.set_pre_routing_handler([this](const httplib::Request &req, httplib::Response &res) {
      rispondi(req, res);
      return httplib::Server::HandlerResponse::Handled;
    });
    porta_ = porta == 0 ? svr_.bind_to_any_port("127.0.0.1")
                        : (svr_.bind_to_port("127.0.0.1", porta) ? porta : -1);
    if (porta_ <= 0) {
      *errore = "cannot listen on 127.0.0.1";
      if (porta != 0) {
        errore->push_back(':');
        *errore += std::to_string(porta);
      }
      *errore += " (the port may be in use)";
      return false;
    }
    thread_ = std::thread([this] { svr_.listen_after_bind(); });
    return true;
  }

  ~Server() override { ferma(); }

  int porta() const override { return porta_; }

  void pubblica(std::string pagina, std::string dati, uint64_t versione) override {
    {
      std::lock_guard<std::mutex> l(m_);
      pagina_ = std::move(pagina);
      dati_ = std::move(dati);
      versione_ = versione;
    }
    cv_.notify_all();
  }

  void ferma() override {
    {
      std::lock_guard<std::mutex> l(m_);
      if (fermo_) return;
      fermo_ = true;
    }
    cv_.notify_all();
    svr_.stop();
    if (thread_.joinable()) thread_.join();
  }

 private:
  void rispondi(const httplib::Request &req, httplib::Response &res) {
    res.set_header("Cache-Control", "no-store");
    res.set_header("X-Content-Type-Options", "nosniff");
    if (!req.has_header("Host") || !host_ammesso(req.get_header_value("Host"), porta_)) {
      res.status = 403;
      std::string testo =
          "refused: this server answers only 127.0.0.1, "
          "localhost or [::1] at port ";
      testo += std::to_string(porta_);
      testo += '\n';
      res.set_content(testo, "text/plain; charset=utf-8");
      return;
    }
    if (req.method != "GET") {
      res.status = 405;
      res.set_header("Allow", "GET");
      res.set_content("refused: only GET\n", "text/plain; charset=utf-8");
      return;
    }
    std::unique_lock<std::mutex> l(m_);
    if (req.path == "/") {
      res.set_content(pagina_, "text/html; charset=utf-8");
    } else if (req.path == "/dati") {
      res.set_content(dati_, "application/json; charset=utf-8");
    } else if (req.path == "/eventi") {
      l.unlock();
      eventi(res);
    } else {
      res.status = 404;
      res.set_content("not found: this server has /, /dati and /eventi only\n",
                      "text/plain; charset=utf-8");
    }
  }

  // The event stream of one page: the version now, then each new one, with
  // a comment now and then so that the connection is seen to live.
  void eventi(httplib::Response &res) {
    auto visto = std::make_shared<uint64_t>(0);
    res.set_chunked_content_provider(
        "text/event-stream", [this, visto](size_t, httplib::DataSink &sink) {
          std::unique_lock<std::mutex> l(m_);
          cv_.wait_for(l, std::chrono::seconds(10), [&] { return fermo_ || versione_ != *visto; });
          if (fermo_) return false;
          std::string messaggio = ": vivo\n\n";
          if (versione_ != *visto) {
            *visto = versione_;
            messaggio = "event: aggiorna\ndata: ";
            messaggio += std::to_string(versione_);
            messaggio += "\n\n";
          }
          l.unlock();
          return sink.write(messaggio.data(), messaggio.size());
        });
  }

  httplib::Server svr_;
  std::thread thread_;
  int porta_ = -1;
  std::mutex m_;
  std::condition_variable cv_;
  std::string pagina_, dati_;
  uint64_t versione_ = 0;
  bool fermo_ = false;
};

}  // namespace

bool server_disponibile() { return true; }

std::unique_ptr<ServerAnteprima> avvia_server(int porta, std::string *errore) {
  auto s = std::make_unique<Server>();
  if (!s->avvia(porta, errore)) return nullptr;
  return s;
}
