#pragma once

class MailTransport;
class Prompts;
class Registry;

// What the tell-a-friend dialog works through: boxes, the settings store (for the name
// servers kept there) and the network.
struct MailServices
{
    Prompts &prompts;
    Registry &registry;
    MailTransport &transport;
};
