// The answer to one HTTP request of the page's side, over Boost.Beast's records: shared by the server's sockets,
// which read and write them on connections, and AnswerWebRequestBytes, which reads and writes them in memory.
#pragma once
#include <boost/beast/http.hpp>
#include <string>

#include "platform/web_files.h"

namespace platform {

namespace http = boost::beast::http;

using WebRequest = http::request<http::empty_body>;
using WebResponse = http::response<http::string_body>;

struct WebAnswer {
  bool openWebSocket = false;  // a valid upgrade to /online: the caller accepts it, no response here
  bool close = false;          // the connection closes after the response
  WebResponse response;
  std::string refusal;  // the log line of a refused request, else empty
};

// The request's line and headers are read (hasBody: a body follows them, which the server never reads).
WebAnswer AnswerWebRequest(WebFiles* files, const WebRequest& request, bool hasBody);
// A request whose line and headers could not be read (too long, malformed): 431 or 400, and the connection closes.
WebAnswer AnswerUnreadableRequest(const boost::beast::error_code& error);

}  // namespace platform
