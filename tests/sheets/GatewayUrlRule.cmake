# The build's rule for the gateway base URL over a table of URLs (cmake -P), then one configuration of the project
# with a refused URL, with the generator and compiler of the build that runs it, to show the rule is applied.
# -DRULE=<cmake/WrenlowGatewayUrl.cmake> -DSOURCE_DIR= -DBINARY_DIR= -DGENERATOR= -DMAKE_PROGRAM= -DCXX_COMPILER=
include(${RULE})

set(refused
    "http://gateway.wrenlow.example/"          # the token in clear over the network
    "https://gateway.wrenlow.example"          # no closing "/": paths would be joined onto the host
    "http://127.0.0.1@evil.example/"           # a loopback look-alike that is a user name
    "http://localhost.evil.example/"
    "ftp://127.0.0.1/"
    "https://gateway.wrenlow.example/\"x/"     # would break out of the compiled-in string
    "https://gateway.wrenlow.example/\nx/")
set(allowed
    "https://gateway.wrenlow.example/"
    "https://gateway.wrenlow.example:8443/api/v1/"
    "http://127.0.0.1:8080/"
    "http://localhost/standin/"
    "http://[::1]:9000/")

set(wrong "")
foreach(url IN LISTS refused)
    wrenlow_gateway_url_allowed("${url}" ok)
    if(ok)
        list(APPEND wrong "allowed: ${url}")
    endif()
endforeach()
foreach(url IN LISTS allowed)
    wrenlow_gateway_url_allowed("${url}" ok)
    if(NOT ok)
        list(APPEND wrong "refused: ${url}")
    endif()
endforeach()

list(GET refused 0 url)
execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${BINARY_DIR} -G ${GENERATOR} -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM}
        -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DWRENLOW_GATEWAY_BASE_URL=${url}
    RESULT_VARIABLE result ERROR_VARIABLE output OUTPUT_QUIET)
if(result EQUAL 0 OR NOT output MATCHES "WRENLOW_GATEWAY_BASE_URL \"${url}\" must be")
    list(APPEND wrong "the configuration took ${url}: ${output}")
endif()

if(wrong)
    list(JOIN wrong "\n" wrong)
    message(FATAL_ERROR "${wrong}")
endif()
