# The rule for the company gateway's compiled-in base URL. The bearer token travels to it, so it must be HTTPS, or
# plain HTTP only when the host is this machine (the stand-in gateway during development); it ends in "/", and
# nothing in it may break out of the C++ string it is compiled into.
function(wrenlow_gateway_url_allowed url result)
    set(path "/([A-Za-z0-9._~/-]*/)?$")
    if("${url}" MATCHES "^https://[A-Za-z0-9.-]+(:[0-9]+)?${path}"
       OR "${url}" MATCHES "^http://(localhost|127\\.[0-9]+\\.[0-9]+\\.[0-9]+|\\[::1\\])(:[0-9]+)?${path}")
        set(${result} TRUE PARENT_SCOPE)
    else()
        set(${result} FALSE PARENT_SCOPE)
    endif()
endfunction()
